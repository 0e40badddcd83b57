// The relativistic material record: ambient, diffuse and specular spectra
// with their factors. The record refers to its spectra without owning them;
// they live as long as the display scene. Only ambient and diffuse take part
// in the spectral shading.
#pragma once

#include "colour/spectrum.h"

namespace quillmere {

struct RelMaterial {
  const Spectrum* ambientSpectrum = nullptr;  // R_a; none contributes nothing
  float ambientFactor = 0.0f;                 // k_a
  const Spectrum* diffuseSpectrum = nullptr;  // R_d; none contributes nothing
  float diffuseFactor = 0.0f;                 // k_d
  const Spectrum* specularSpectrum = nullptr; // kept for the scene's record, not shaded
  float specularFactor = 0.0f;                // k_s, not shaded
};

} // namespace quillmere
