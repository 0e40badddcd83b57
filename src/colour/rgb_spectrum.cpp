#include "colour/rgb_spectrum.h"

#include "colour/spectrum_to_rgb.h"

#include <cmath>

namespace quillmere {

RgbSpectrum::RgbSpectrum() { setWidth(20.0f); }

float RgbSpectrum::evaluate(float wavelengthNm) const {
  float sum = 0.0f;
  for (int i = 0; i < 3; ++i) {
    float offset = wavelengthNm - centresNm_[i];
    sum += weights_[i] * std::exp(-offset * offset / twoSigmaSquared_);
  }
  return sum;
}

void RgbSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  for (int i = 0; i < count; ++i) values[i] = RgbSpectrum::evaluate(wavelengthsNm[i]); // no virtual call
}

void RgbSpectrum::setWidth(float sigmaNm) {
  twoSigmaSquared_ = sigmaNm * sigmaNm + sigmaNm * sigmaNm;

  // The conversion is linear in the weights, so the RGB of weights w is w·A
  // with row i of A the RGB of Gaussian i at unit weight.
  Vector3 rows[3];
  for (int i = 0; i < 3; ++i) {
    weights_ = Vector3();
    weights_[i] = 1.0f;
    rows[i] = spectrumToRgb(*this);
  }
  inverseResponse_ = Matrix3::fromRows(rows[0], rows[1], rows[2]);
  inverseResponse_.invert();

  setRGB(target_);
}

void RgbSpectrum::setRGB(float red, float green, float blue) {
  target_ = Vector3(red, green, blue);
  // target = w·A, hence w = target·A⁻¹.
  weights_ = inverseResponse_.rowVectorProduct(target_);
}

} // namespace quillmere
