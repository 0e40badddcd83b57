// The per-vertex colour of the spectral path for a shape whose vertices
// carry RGB colours of their own (per-face and per-vertex materials) under
// the smooth uplift: each vertex's ambient and diffuse reflectances are
// sigmoid spectra given by their coefficients (ColourPipeline::
// smoothCoefficients, fitted once per colour, not per draw). Same lights and
// conditions as SpectralShader; the reflectances are evaluated per vertex at
// the emitted wavelengths, the lights once per draw without the Doppler
// shift and once per vertex with it.
#pragma once

#include "colour/spectral_shader.h"

#include <vector>

namespace quillmere {

class SmoothTargetShader {
public:
  // The ambient light is light 0 of the list. `doppler` null: the Doppler
  // switch is off. The sampling, the lights and their spectra and the
  // mapping must outlive the shader unchanged.
  SmoothTargetShader(const SpectralSampling& sampling, const LightList* lights, const WavelengthMapping* doppler);

  // RGB of the vertex before the searchlight factor, for reflectances with
  // the sigmoid coefficients given (stored scale 0.01). Allocates nothing.
  Vector3 colourOf(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientCoefficients,
                   const Vector3& diffuseCoefficients) const;

private:
  static constexpr int kMax = SpectralSampling::kMaxSamples;

  struct LightTerm {
    const SpectralLight* light;
    float intensity;     // I_j, multiplied by the cosine per vertex
    float restValues[kMax]; // Doppler off: L_j at the observed wavelengths
  };

  const SpectralSampling* sampling_;
  const WavelengthMapping* doppler_;
  const Spectrum* ambientLight_ = nullptr; // L_a, with ambientIntensity_ ≠ 0 only
  float ambientIntensity_ = 0.0f;          // I_a
  float ambientRest_[kMax] = {};           // Doppler off: L_a at the observed wavelengths
  std::vector<LightTerm> lights_;          // present, on, with a spectrum and I ≠ 0
};

} // namespace quillmere
