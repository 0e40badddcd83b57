// Smooth reflectance spectra for RGB colours (the sigmoid-of-a-quadratic
// family of Jakob and Hanika, 2019): R(λ) = s·S(c0·t² + c1·t + c2), with
// t = (λ − 360 nm)/470 nm the position in the visible range and
// S(x) = ½ + x/(2·√(1 + x²)) a sigmoid onto (0, 1). Outside 360–830 nm the
// spectrum keeps its value at the nearer end (t clamped to [0, 1]), so a
// white surface reflects infrared and ultraviolet too and stays visible at
// any Doppler factor. `s` is the stored scale (0.01 for a reflectance of 1,
// as for the constant material spectra).
#pragma once

#include "colour/spectrum.h"
#include "relativity/vector.h"

namespace quillmere {

class SigmoidSpectrum : public Spectrum {
public:
  static constexpr float kFirstNm = 360.0f, kLastNm = 830.0f;

  SigmoidSpectrum() = default;
  SigmoidSpectrum(const Vector3& coefficients, float scale) : c_(coefficients), scale_(scale) {}

  float evaluate(float wavelengthNm) const override;
  void evaluateAscending(const float* wavelengthsNm, int count, float* values) const override;

  const Vector3& coefficients() const { return c_; }
  float scale() const { return scale_; }

  // S(c0·t² + c1·t + c2) at the wavelengths, without the scale: the
  // reflectance in (0, 1). For the per-vertex shading.
  static void reflectance(const Vector3& coefficients, const float* wavelengthsNm, int count, float* values);

private:
  Vector3 c_{0.0f, 0.0f, 0.0f}; // c0, c1, c2 over t in [0, 1]; (0, 0, 0) is a flat 0.5
  float scale_ = 0.01f;         // the value of a reflectance of 1
};

// How a reflectance converts to linear RGB at rest: the RGB of a unit
// reflectance at each observed sample under the reference light (the
// per-sample weights of the colour conversion times the light), so that
// the colour of reflectance R is Σ_k R(λ_k)·rgb_k.
struct RestResponse {
  static constexpr int kMaxSamples = 64;
  int count = 0;
  float wavelengthsNm[kMaxSamples] = {};
  Vector3 rgb[kMaxSamples];
};

// Coefficients of the sigmoid spectrum whose colour under `response` is
// `linearTarget`, by damped Gauss–Newton steps along a path from the grey
// of the same luminance to the target (so saturated colours start close).
// Returns false when the last step still misses by more than 1e-4 in some
// channel; the coefficients are then the nearest found.
bool fitSigmoidSpectrum(const RestResponse& response, const Vector3& linearTarget, Vector3& coefficients);

} // namespace quillmere
