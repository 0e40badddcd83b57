#include "colour/planck_spectrum.h"

#include "colour/vector_clones.h"

#include <cmath>

namespace quillmere {

namespace {

// The universal black-body function p(y) = y/(e^y − 1) of y = C2/(λT),
// tabulated from y = 0 to kTableEndY in steps of h = 1/64 and interpolated
// linearly: two table reads per wavelength. The interpolation errs by at
// most h²/8·max|p''/p| relative, and p''/p stays below 1 everywhere (about
// 1/6 near y = 0, where p ≈ 1 − y/2 + y²/12, and (y − 2)/y in Wien's tail,
// where p ≈ y·e^−y): 3.1e-5. The float rounding of y adds at most
// y·6e-8·|d ln p/d ln y| ≈ 1e-5 deep in the tail.
constexpr int kStepsPerUnitY = 64;
constexpr float kTableEndY = 80.0f; // p(80) ≈ 1.4e-33: table entries stay normal floats
constexpr int kTableIntervals = int(kTableEndY) * kStepsPerUnitY;

struct UniversalPlanckTable {
  float value[kTableIntervals + 1]; // p(y_i)

  UniversalPlanckTable() {
    value[0] = 1.0f; // the limit at y → 0
    for (int i = 1; i <= kTableIntervals; ++i) {
      double y = double(i) / kStepsPerUnitY;
      value[i] = float(y / std::expm1(y)); // expm1 keeps e^y − 1 accurate for small y
    }
  }
};

const UniversalPlanckTable& universalTable() {
  static const UniversalPlanckTable table;
  return table;
}

inline bool insideTable(float y) { return (y >= 0.0f) & (y < kTableEndY); }

} // namespace

PlanckSpectrum::PlanckSpectrum() { setTemperature(5000.0f); }

PlanckSpectrum::PlanckSpectrum(float strength, float temperatureK) : strength_(strength) {
  setTemperature(temperatureK);
}

double PlanckSpectrum::unnormalised(double wavelengthNm) const {
  double lambda2 = wavelengthNm * wavelengthNm;
  double lambda5 = lambda2 * lambda2 * wavelengthNm;
  return kPlanckC1 / (lambda5 * (std::exp(kPlanckC2 / (wavelengthNm * temperatureK_)) - 1.0));
}

float PlanckSpectrum::exactValue(float wavelengthNm) const {
  return float(normalisation_ * unnormalised(wavelengthNm));
}

namespace {

// The table's value times `factor` at y = scale/λ for n ≤ kBlock wavelengths;
// returns how many fell outside the table (their values are wrong).
constexpr int kBlock = 64;

QUILLMERE_VECTOR_CLONES
int tableBlock(const UniversalPlanckTable& table, const float* __restrict in, int n, float* __restrict out,
               float scale, float factor) {
  // First everything that needs no table, for all wavelengths at once (this
  // loop vectorises): y, the table interval, the position in it and
  // factor·y⁴. A wavelength outside the table takes the interval at y = 0.
  int interval[kBlock];
  float fraction[kBlock], scaled[kBlock];
  int outside = 0;
  for (int i = 0; i < n; ++i) {
    float y = scale / in[i];
    bool inside = insideTable(y);
    outside += inside ? 0 : 1;
    y = inside ? y : 0.0f;
    float position = y * float(kStepsPerUnitY);
    int k = int(position);
    float y2 = y * y;
    interval[i] = k;
    fraction[i] = position - float(k);
    scaled[i] = factor * (y2 * y2);
  }
  // Then the two table reads per wavelength.
  for (int i = 0; i < n; ++i) {
    const float low = table.value[interval[i]], high = table.value[interval[i] + 1];
    out[i] = scaled[i] * (low + fraction[i] * (high - low));
  }
  return outside;
}

} // namespace

float PlanckSpectrum::evaluate(float wavelengthNm) const {
  float value;
  PlanckSpectrum::evaluateAscending(&wavelengthNm, 1, &value); // the same arithmetic as a batch
  return value;
}

void PlanckSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  const UniversalPlanckTable& table = universalTable();
  for (int first = 0; first < count; first += kBlock) {
    const int n = count - first < kBlock ? count - first : kBlock;
    const float* in = wavelengthsNm + first;
    float* out = values + first;
    if (tableBlock(table, in, n, out, wienScale_, tableFactor_) == 0) continue;
    // The rare deep-tail or invalid wavelengths: the formula.
    for (int i = 0; i < n; ++i)
      if (!insideTable(wienScale_ / in[i])) out[i] = exactValue(in[i]);
  }
}

void PlanckSpectrum::setTemperature(float temperatureK) {
  temperatureK_ = temperatureK;
  // Wien's displacement law puts the maximum of the curve at b/T; scale the
  // curve so that it reaches exactly the strength there.
  float peakNm = float(kWienConstantNmK / temperatureK);
  normalisation_ = strength_ / unnormalised(peakNm);
  // λ = C2/(yT), so C1/λ⁵ = C1·T⁵·y⁵/C2⁵: the table's scale factor.
  double t = temperatureK;
  wienScale_ = float(kPlanckC2 / t);
  tableFactor_ = float(normalisation_ * (kPlanckC1 / std::pow(kPlanckC2, 5)) * (t * t) * (t * t) * t);
}

} // namespace quillmere
