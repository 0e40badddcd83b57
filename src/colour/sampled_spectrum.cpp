#include "colour/sampled_spectrum.h"

namespace quillmere {

float SampledSpectrum::evaluate(float wavelengthNm) const {
  int n = count();
  if (n < 1) return 0.0f;
  const float* lambda = wavelengthsNm_.data();
  const float* value = values_.data();
  if (wavelengthNm < lambda[0] || wavelengthNm > lambda[n - 1]) return 0.0f;
  if (n == 1) return value[0];

  // Bisect for the interval [λ_k, λ_k+1] holding the wavelength; a wavelength
  // on a sample falls into the interval that ends there.
  int lo = 0;
  int hi = n - 1;
  while (hi - lo >= 2) {
    int mid = lo + (hi - lo) / 2;
    if (wavelengthNm <= lambda[mid])
      hi = mid;
    else
      lo = mid;
  }
  int k = lo;
  return value[k] + (wavelengthNm - lambda[k]) / (lambda[k + 1] - lambda[k]) * (value[k + 1] - value[k]);
}

void SampledSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  const int n = this->count();
  if (n < 2) {
    Spectrum::evaluateAscending(wavelengthsNm, count, values);
    return;
  }
  const float* lambda = wavelengthsNm_.data();
  const float* value = values_.data();
  // k is the interval the bisection would choose: the first k with λ ≤ λ_k+1
  // (capped at n − 2). It only moves forward as the wavelengths grow.
  int k = 0;
  for (int i = 0; i < count; ++i) {
    float wavelength = wavelengthsNm[i];
    if (wavelength < lambda[0] || wavelength > lambda[n - 1]) {
      values[i] = 0.0f;
      continue;
    }
    while (k < n - 2 && wavelength > lambda[k + 1]) ++k;
    values[i] = value[k] + (wavelength - lambda[k]) / (lambda[k + 1] - lambda[k]) * (value[k + 1] - value[k]);
  }
}

void SampledSpectrum::resample(int count, float firstNm, float endNm) {
  if (count < 0) count = 0;
  wavelengthsNm_.assign(count, 0.0f);
  values_.assign(count, 0.0f);
  for (int k = 0; k < count; ++k) wavelengthsNm_[k] = firstNm + k * (endNm - firstNm) / count;
}

void SampledSpectrum::assign(int count, const float* wavelengthsNm, const float* values) {
  if (count < 0) count = 0;
  wavelengthsNm_.assign(wavelengthsNm, wavelengthsNm + count);
  values_.assign(values, values + count);
}

float SampledSpectrum::wavelength(int index) const {
  return index >= 0 && index < count() ? wavelengthsNm_[index] : 0.0f;
}

float SampledSpectrum::value(int index) const { return index >= 0 && index < count() ? values_[index] : 0.0f; }

bool SampledSpectrum::setValue(int index, float value) {
  if (index < 0 || index >= count()) return false;
  values_[index] = value;
  return true;
}

} // namespace quillmere
