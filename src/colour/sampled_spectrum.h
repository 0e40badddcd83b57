// A spectrum given by samples at ascending wavelengths (nm), linearly
// interpolated between them and zero outside the sampled range (the two end
// wavelengths count as inside). The shading writes its observed spectrum
// into one of these: resample once per draw, then overwrite the values per
// vertex, which never allocates.
#pragma once

#include "colour/spectrum.h"

#include <vector>

namespace quillmere {

class SampledSpectrum : public Spectrum {
public:
  SampledSpectrum() = default; // empty: evaluates to 0 everywhere

  float evaluate(float wavelengthNm) const override;
  // One merged walk over the samples instead of a bisection per wavelength.
  void evaluateAscending(const float* wavelengthsNm, int count, float* values) const override;

  // n samples at λ_k = λ_a + k·(λ_b − λ_a)/n, k = 0..n−1 (λ_b itself is not a
  // sample), all values 0. A negative n is taken as 0.
  void resample(int count, float firstNm, float endNm);

  // n samples at the given ascending wavelengths with the given values.
  void assign(int count, const float* wavelengthsNm, const float* values);

  int count() const { return int(wavelengthsNm_.size()); }

  // Index outside 0..n−1: the getters return 0, the setter returns false and
  // changes nothing.
  float wavelength(int index) const;
  float value(int index) const;
  bool setValue(int index, float value);

  // Flat arrays for the shading loop, n entries each.
  const float* wavelengths() const { return wavelengthsNm_.data(); }
  float* values() { return values_.data(); }
  const float* values() const { return values_.data(); }

private:
  std::vector<float> wavelengthsNm_; // ascending
  std::vector<float> values_;        // one per wavelength
};

} // namespace quillmere
