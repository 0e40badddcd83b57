#include "colour/planck_spectrum.h"

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
constexpr float kTableEndY = 100.0f;
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

// p(y) for 0 ≤ y < kTableEndY by cubic Hermite interpolation.
inline float universalValue(const UniversalPlanckTable& table, float y) {
  float position = y * float(kStepsPerUnitY);
  int i = int(position);
  float t = position - float(i);
  float t2 = t * t;
  float h01 = t2 * (3.0f - 2.0f * t); // weight of p(y_i+1)
  float h00 = 1.0f - h01;             // weight of p(y_i)
  float h10 = t - 2.0f * t2 + t2 * t; // weight of h·p'(y_i)
  float h11 = t2 * t - t2;            // weight of h·p'(y_i+1)
  return h00 * table.value[i] + h10 * table.slope[i] + h01 * table.value[i + 1] + h11 * table.slope[i + 1];
}

inline bool insideTable(float y) { return y >= 0.0f && y < kTableEndY; }

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

float PlanckSpectrum::evaluate(float wavelengthNm) const {
  float y = wienScale_ / wavelengthNm;
  if (!insideTable(y)) return exactValue(wavelengthNm);
  float y2 = y * y;
  return tableFactor_ * (y2 * y2) * universalValue(universalTable(), y);
}

void PlanckSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  const UniversalPlanckTable& table = universalTable();
  const float* __restrict in = wavelengthsNm;
  float* __restrict out = values;
  const float scale = wienScale_, factor = tableFactor_;

  // One branch-free pass through the table (a wavelength outside it reads
  // the entry at y = 0 and is redone below), then the rare deep-tail or
  // invalid wavelengths by the formula.
  bool anyOutside = false;
  for (int i = 0; i < count; ++i) {
    float y = scale / in[i];
    bool inside = insideTable(y);
    anyOutside |= !inside;
    y = inside ? y : 0.0f;
    float y2 = y * y;
    out[i] = factor * (y2 * y2) * universalValue(table, y);
  }
  if (!anyOutside) return;
  for (int i = 0; i < count; ++i)
    if (!insideTable(scale / in[i])) out[i] = exactValue(in[i]);
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
