// The per-vertex colour of the spectral path for a shape whose ambient and
// diffuse reflectances are RGB spectra (RgbSpectrum, factors 1) aimed at
// colours of each vertex's own: per-face materials and colour maps.
//
// An RgbSpectrum is three Gaussians G_i with weights linear in its target
// (w = t·A⁻¹), so the observed spectrum of a vertex is
//   S = I_a·L_a·Σ_i wa_i·G_i + Σ_j I_j·(n·l_j)·L_j·Σ_i wd_i·G_i
// with wa, wd the weights of its ambient and diffuse targets, under the same
// lights and conditions as SpectralShader. Without the Doppler shift each
// term reduces to three RGB triples per light, prepared once per draw; with
// it, the three Gaussians are evaluated once per vertex at the emitted
// wavelengths (the cost of one RGB spectrum) and weighted per reflectance.
#pragma once

#include "colour/rgb_spectrum.h"
#include "colour/spectral_shader.h"

#include <vector>

namespace quillmere {

class RgbTargetShader {
public:
  // The ambient light is light 0 of the list, as for every spectral shape.
  // `doppler` null: the Doppler switch is off. The sampling, the lights and
  // their spectra and the mapping must outlive the shader unchanged.
  RgbTargetShader(const SpectralSampling& sampling, const LightList* lights, float widthNm,
                  const WavelengthMapping* doppler);

  // Aims the Gaussians' weights through another conversion (see
  // RgbSpectrum::setResponse); the targets are then in that conversion's RGB.
  void setResponse(const Matrix3& response) { gaussians_.setResponse(response); }

  // RGB of the vertex before the searchlight factor and the gamut clip, for
  // reflectances aimed at `ambientTarget` and `diffuseTarget`. Allocates nothing.
  Vector3 colourOf(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientTarget,
                   const Vector3& diffuseTarget) const;

private:
  struct LightTerm {
    const SpectralLight* light;
    float intensity; // I_j, multiplied by the cosine per vertex
    Vector3 rgb[3];  // Doppler off: RGB of L_j·G_i
  };

  Vector3 shiftedColour(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientTarget,
                        const Vector3& diffuseTarget) const;

  const SpectralSampling* sampling_;
  const WavelengthMapping* doppler_;
  RgbSpectrum gaussians_;                  // its G_i and A⁻¹ at the width asked for
  const Spectrum* ambientLight_ = nullptr; // L_a, with ambientIntensity_ ≠ 0 only
  float ambientIntensity_ = 0.0f;          // I_a
  Vector3 ambientRgb_[3];                  // Doppler off: I_a·RGB of L_a·G_i
  std::vector<LightTerm> lights_;          // present, on, with a spectrum and I ≠ 0
};

} // namespace quillmere
