// A spectrum made of three Gaussians (centred at 700, 545 and 435 nm, common
// width σ in nm) whose weights are calibrated so that the spectrum converts
// back to a target RGB through spectrumToRgb. An RGB material thus keeps its
// colour exactly when no relativistic effect applies, and shifts plausibly
// when one does.
#pragma once

#include "colour/spectrum.h"
#include "relativity/matrix.h"
#include "relativity/vector.h"

namespace quillmere {

class RgbSpectrum : public Spectrum {
public:
  // Target (0.8, 0.8, 0.8), σ = 20 nm.
  RgbSpectrum();

  // The library's exp per Gaussian: the reference.
  float evaluate(float wavelengthNm) const override;
  // The same three Gaussians with an exponential of our own that the
  // compiler vectorises; within 1e-6 of evaluate relative to Σ|w_i|.
  void evaluateAscending(const float* wavelengthsNm, int count, float* values) const override;

  // Rebuilds the response of the three Gaussians and recalibrates the
  // weights for the stored target. A σ so small that a Gaussian has no
  // response makes the matrix singular: the LU routine reports it and the
  // weights become non-finite.
  void setWidth(float sigmaNm);

  // Aims the weights through another conversion: row i of `response` is the
  // RGB of Gaussian i at unit weight (setWidth goes back to spectrumToRgb).
  // Recomputes the weights for the stored target.
  void setResponse(const Matrix3& response);

  // Stores the target and recomputes the weights. Saturated targets need
  // negative weights; those are allowed.
  void setRGB(float red, float green, float blue);
  void setRGB(const Vector3& rgb) { setRGB(rgb.x, rgb.y, rgb.z); }

  // The weights of the Gaussians that aim this spectrum at `target`, for
  // the present width (what setRGB(target) would store).
  Vector3 weightsFor(const Vector3& target) const { return inverseResponse_.rowVectorProduct(target); }
  // Each Gaussian alone at unit weight (red, green, blue centre) at the
  // ascending wavelengths: the spectrum is Σ_i weights()[i]·Gaussian i.
  void evaluateEachGaussian(const float* wavelengthsNm, int count, float* red, float* green, float* blue) const;

  const Vector3& target() const { return target_; }
  const Vector3& weights() const { return weights_; }
  const Vector3& centres() const { return centresNm_; }

private:
  Vector3 target_{0.8f, 0.8f, 0.8f};
  Vector3 centresNm_{700.0f, 545.0f, 435.0f}; // red, green, blue Gaussian
  Vector3 weights_;                             // amplitude of each Gaussian
  float twoSigmaSquared_ = 800.0f;              // 2σ², nm²
  float reachNm_ = 263.8f;                      // √(87·2σ²): beyond, a Gaussian is below the normal floats
  Matrix3 inverseResponse_;                     // A⁻¹; row i of A = RGB of Gaussian i alone
};

} // namespace quillmere
