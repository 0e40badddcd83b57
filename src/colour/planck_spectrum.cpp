#include "colour/planck_spectrum.h"

#include "colour/vector_clones.h"

#include <cmath>

namespace quillmere {

namespace {

// The universal black-body function p(y) = y/(e^y − 1) of y = C2/(λT),
// tabulated with its slope from y = 0 to kTableEndY in steps of 1/16.
// Hermite interpolation errs by at most h⁴/384·max|p''''| ≈ 4e-8·p over
// the whole range (p'''' stays within a few times p: p behaves like y·e^−y
// for large y and like 1 − y/2 + y²/12 near 0), far below the 1e-4 the
// colours need and close to float rounding.
constexpr int kStepsPerUnitY = 16;
constexpr float kTableEndY = 80.0f; // p(80) ≈ 1.4e-33: table entries stay normal floats
constexpr int kTableIntervals = int(kTableEndY) * kStepsPerUnitY;

struct UniversalPlanckTable {
  float value[kTableIntervals + 1]; // p(y_i)
  float slope[kTableIntervals + 1]; // h·p'(y_i), the derivative per table step

  UniversalPlanckTable() {
    const double step = 1.0 / kStepsPerUnitY;
    for (int i = 0; i <= kTableIntervals; ++i) {
      double y = i * step;
      if (i == 0) { // the limits at y → 0: p = 1, p' = −1/2
        value[i] = 1.0f;
        slope[i] = float(-0.5 * step);
        continue;
      }
      // expm1 keeps e^y − 1 accurate for small y; the derivative
      // p' = (e^y − 1 − y·e^y)/(e^y − 1)² loses only a couple of digits to
      // cancellation at the first grid points.
      double em1 = std::expm1(y);
      value[i] = float(y / em1);
      slope[i] = float(step * (em1 - y * (em1 + 1.0)) / (em1 * em1));
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
  // loop vectorises): y, the table interval, the Hermite weights times
  // factor·y⁴. A wavelength outside the table takes the interval at y = 0.
  int interval[kBlock];
  float w00[kBlock], w10[kBlock], w01[kBlock], w11[kBlock];
  int outside = 0;
  for (int i = 0; i < n; ++i) {
    float y = scale / in[i];
    bool inside = insideTable(y);
    outside += inside ? 0 : 1;
    y = inside ? y : 0.0f;
    float position = y * float(kStepsPerUnitY);
    int k = int(position);
    float t = position - float(k);
    float t2 = t * t;
    float y2 = y * y;
    float scaled = factor * (y2 * y2);
    float h01 = t2 * (3.0f - 2.0f * t);
    interval[i] = k;
    w00[i] = scaled * (1.0f - h01);
    w10[i] = scaled * (t - 2.0f * t2 + t2 * t);
    w01[i] = scaled * h01;
    w11[i] = scaled * (t2 * t - t2);
  }
  // Then the four table reads per wavelength.
  for (int i = 0; i < n; ++i) {
    const int k = interval[i];
    out[i] = w00[i] * table.value[k] + w10[i] * table.slope[k] + w01[i] * table.value[k + 1] +
             w11[i] * table.slope[k + 1];
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
