#include "colour/planck_spectrum.h"

#include <cmath>

namespace quillmere {

PlanckSpectrum::PlanckSpectrum() { setTemperature(5000.0f); }

PlanckSpectrum::PlanckSpectrum(float strength, float temperatureK) : strength_(strength) {
  setTemperature(temperatureK);
}

double PlanckSpectrum::unnormalised(double wavelengthNm) const {
  double lambda2 = wavelengthNm * wavelengthNm;
  double lambda5 = lambda2 * lambda2 * wavelengthNm;
  return kPlanckC1 / (lambda5 * (std::exp(kPlanckC2 / (wavelengthNm * temperatureK_)) - 1.0));
}

float PlanckSpectrum::evaluate(float wavelengthNm) const {
  return float(normalisation_ * unnormalised(wavelengthNm));
}

void PlanckSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  for (int i = 0; i < count; ++i) values[i] = PlanckSpectrum::evaluate(wavelengthsNm[i]); // no virtual call
}

void PlanckSpectrum::setTemperature(float temperatureK) {
  temperatureK_ = temperatureK;
  // Wien's displacement law puts the maximum of the curve at b/T; scale the
  // curve so that it reaches exactly the strength there.
  float peakNm = float(kWienConstantNmK / temperatureK);
  normalisation_ = strength_ / unnormalised(peakNm);
}

} // namespace quillmere
