// Black-body (Planck) spectrum, wavelengths in nanometres, temperature in
// kelvin, normalised so that the curve's value at Wien's peak wavelength is
// the strength.
//
// Evaluation needs no exponential: with y = C2/(λT), Planck's law is
// C1·T⁵/C2⁵ · y⁴ · y/(e^y − 1), so every black body at every wavelength is
// the same universal function p(y) = y/(e^y − 1) scaled by y⁴ and a factor
// of the temperature. p is smooth and bounded on y ≥ 0 (1 at y = 0, y·e^−y
// in Wien's tail), so a table of it on an even grid in y, interpolated
// linearly, gives it to 3e-5 relative. Beyond the table (y ≥ 80, i.e. λT below 1.8e5 nm·K, where the
// curve has fallen under 3e-27 of its peak and p itself would soon reach
// the imprecise subnormal floats) the formula itself is used.
#pragma once

#include "colour/spectrum.h"

namespace quillmere {

// Radiation constants in the units of the colour code, computed once (at
// compile time) in double precision. With λ in nm, C1/(λ⁵·(exp(C2/(λ·T)) − 1))
// is Planck's law up to a constant factor that the normalisation absorbs; the
// powers of ten let the SI constants work with nanometres.
constexpr double kPlanckConstant = 6.6262e-34;     // h, J·s
constexpr double kSpeedOfLight = 299792458.0;      // c, m/s
constexpr double kBoltzmannConstant = 1.38066e-23; // k, J/K
constexpr double kPlanckC1 = 2.0 * kPlanckConstant * kSpeedOfLight * kSpeedOfLight * 1e45;
constexpr double kPlanckC2 = kPlanckConstant * kSpeedOfLight * 1e9 / kBoltzmannConstant; // nm·K
constexpr double kWienConstantNmK = 2897756.0; // λ_peak·T

class PlanckSpectrum : public Spectrum {
public:
  // Strength 1 at 5000 K.
  PlanckSpectrum();
  PlanckSpectrum(float strength, float temperatureK);

  // Both read the table (the same arithmetic); they agree with exactValue
  // to 5e-5 relative.
  float evaluate(float wavelengthNm) const override;
  void evaluateAscending(const float* wavelengthsNm, int count, float* values) const override;

  // The normalised formula in double precision, rounded to float once: the
  // reference the table is checked against.
  float exactValue(float wavelengthNm) const;

  // Sets T and rescales the curve so that its peak value is the current
  // strength. T ≤ 0 is not guarded.
  void setTemperature(float temperatureK);
  float temperature() const { return temperatureK_; }

  // Changing the strength does not renormalise: set it before the temperature.
  void setStrength(float strength) { strength_ = strength; }
  float strength() const { return strength_; }

private:
  // The curve without normalisation, in double precision.
  double unnormalised(double wavelengthNm) const;

  float strength_ = 1.0f;        // value of the curve at its peak, after setTemperature
  float temperatureK_ = 5000.0f; // kelvin
  double normalisation_ = 1.0;   // f, so that f·Planck(λ_peak) = strength
  float wienScale_ = 0.0f;       // C2/T: y = wienScale_/λ
  float tableFactor_ = 0.0f;     // f·C1·T⁵/C2⁵: the value is tableFactor_·y⁴·p(y)
};

} // namespace quillmere
