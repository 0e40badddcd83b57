#include "colour/rgb_spectrum.h"

#include "colour/spectrum_to_rgb.h"
#include "colour/vector_clones.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace quillmere {

namespace {

// e^z for z ≤ 0 in float, written so that a loop over it vectorises: the
// batch evaluation needs three exponentials per wavelength. e^z = 2^n·e^r
// with n the nearest integer to z/ln 2 and |r| ≤ ln 2/2; ln 2 is split into
// a part with few significant bits (exact when multiplied by n) and the
// remainder, so that r carries no cancellation error. e^r is its Taylor
// series to r⁶ (truncation below |r|⁷/7!·e^|r| ≤ 1.7e-7 relative, about the
// float rounding), 2^n goes straight into the exponent bits. Below −87 the result would leave the normal float range;
// it is 0 there, as good as the < 2e-38 the library's exp gives.
inline float expNonPositive(float z) {
  // No branches and no selects, so that the loops calling this vectorise
  // for every instruction set: the clamp is a max, and the result is
  // cleared below −87 through the bits of 2^n.
  const float clamped = std::max(z, -87.0f);
  const std::int32_t n = -std::int32_t(0.5f - clamped * 1.44269504f); // round(z/ln 2); 0.5 − z/ln 2 > 0
  const float fn = float(n);
  const float r = (clamped - fn * 0.693359375f) - fn * -2.12194440e-4f;
  float p = 1.0f / 720.0f;
  p = p * r + 1.0f / 120.0f;
  p = p * r + 1.0f / 24.0f;
  p = p * r + 1.0f / 6.0f;
  p = p * r + 0.5f;
  p = p * r + 1.0f;
  p = p * r + 1.0f;
  const std::int32_t keep = -std::int32_t(z > -87.0f);       // all ones, or 0 below −87
  const std::int32_t bits = ((n + 127) << 23) & keep;        // n ≥ −126: a normal number, or +0
  float twoToN;
  std::memcpy(&twoToN, &bits, sizeof twoToN);
  return p * twoToN;
}

} // namespace

RgbSpectrum::RgbSpectrum() { setWidth(20.0f); }

float RgbSpectrum::evaluate(float wavelengthNm) const {
  float sum = 0.0f;
  for (int i = 0; i < 3; ++i) {
    float offset = wavelengthNm - centresNm_[i];
    sum += weights_[i] * std::exp(-offset * offset / twoSigmaSquared_);
  }
  return sum;
}

namespace {

// Adds w·exp(−(λ − c)²/(2σ²)) to out[i] for the wavelengths i of [first, end).
QUILLMERE_VECTOR_CLONES
void addGaussian(const float* __restrict in, int first, int end, float* __restrict out, float centre, float weight,
                 float minusInverse) {
  for (int i = first; i < end; ++i) {
    const float d = in[i] - centre;
    out[i] += weight * expNonPositive(d * d * minusInverse);
  }
}

// The first of the ascending wavelengths [first, count) that is not below
// `limit` (count if none).
inline int firstNotBelow(const float* in, int first, int count, float limit) {
  return int(std::lower_bound(in + first, in + count, limit) - in);
}

// Σ_i w_i·exp(−(λ − c_i)²/(2σ²)) for every wavelength; see evaluateAscending.
void threeGaussians(const float* in, int count, float* out, const Vector3& centres, const Vector3& weights,
                    float twoSigmaSquared, float reach) {
  for (int i = 0; i < count; ++i) out[i] = 0.0f;
  // A Gaussian is exactly 0 (below the normal floats) farther than
  // √(87·2σ²) from its centre; with Doppler factors away from 1 most
  // wavelengths lie that far from one centre or two. The wavelengths
  // ascend, so the rest is one contiguous range per centre. Adding the
  // Gaussians one after the other keeps the order of evaluate's sum.
  const float minusInverse = -1.0f / twoSigmaSquared;
  for (int g = 0; g < 3; ++g) {
    // Most often under a strong Doppler shift: every wavelength on one side.
    if (weights[g] == 0.0f || count == 0 || in[0] >= centres[g] + reach || in[count - 1] < centres[g] - reach) continue;
    int first = firstNotBelow(in, 0, count, centres[g] - reach);
    int end = firstNotBelow(in, first, count, centres[g] + reach);
    if (first == end) continue;
    // Whole blocks of eight, so that the vector loop does not end in a
    // scalar remainder: the wavelengths added outside the reach add +0.
    first &= ~7;
    end = std::min(count, (end + 7) & ~7);
    addGaussian(in, first, end, out, centres[g], weights[g], minusInverse);
  }
}

} // namespace

void RgbSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  // All three Gaussians in one pass, each wavelength independent of the
  // others, so the compiler can run several wavelengths per instruction.
  // Multiplying by 1/(2σ²) instead of dividing changes the exponent by one
  // rounding, e^z by |z|·6e-8 relative: the same size as the float
  // exponential's own error where the Gaussian is not negligible.
  threeGaussians(wavelengthsNm, count, values, centresNm_, weights_, twoSigmaSquared_, reachNm_);
}

void RgbSpectrum::evaluateEachGaussian(const float* wavelengthsNm, int count, float* red, float* green,
                                       float* blue) const {
  float* out[3] = {red, green, blue};
  for (int g = 0; g < 3; ++g) {
    Vector3 one;
    one[g] = 1.0f;
    threeGaussians(wavelengthsNm, count, out[g], centresNm_, one, twoSigmaSquared_, reachNm_);
  }
}

void RgbSpectrum::setWidth(float sigmaNm) {
  twoSigmaSquared_ = sigmaNm * sigmaNm + sigmaNm * sigmaNm;
  reachNm_ = std::sqrt(87.0f * twoSigmaSquared_);

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

void RgbSpectrum::setResponse(const Matrix3& response) {
  inverseResponse_ = response;
  inverseResponse_.invert();
  setRGB(target_);
}

void RgbSpectrum::setRGB(float red, float green, float blue) {
  target_ = Vector3(red, green, blue);
  // target = w·A, hence w = target·A⁻¹.
  weights_ = inverseResponse_.rowVectorProduct(target_);
}

} // namespace quillmere
