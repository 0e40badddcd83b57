// Per-vertex spectral lighting: the spectrum an observer sees from a vertex
// of a relativistic material under the directional spectral lights, sampled
// at the wavelengths of an output SampledSpectrum. Ambient plus Lambertian
// diffuse; no specular term. The Doppler shift enters only through the
// factor D of the vertex (computed by the caller from the observer) and the
// mapping of observed to emitted wavelengths; this code knows nothing of the
// observer.
#pragma once

#include "colour/rel_material.h"
#include "colour/sampled_spectrum.h"
#include "colour/spectral_light.h"
#include "colour/wavelength_mapping.h"
#include "relativity/vector.h"

namespace quillmere {

// What one draw call shades with. Nothing is owned.
struct LightingContext {
  const LightList* lights = nullptr;          // every light adds a diffuse term
  const SpectralLight* ambientLight = nullptr; // the renderers pass light 0 of the list
  const RelMaterial* material = nullptr;
};

// A vertex as the shading sees it: where it is, and its unit normal.
struct VertexRay {
  Vector3 position;
  Vector3 normal; // unit length; the caller normalises
};

// Fills every sample k of `output` (at its own wavelength λ_k) with the
// observed spectrum:
//   S(λ_k) = I_a·k_a·L_a(λ')·R_a(λ') + Σ_j I_j·k_d·(n·l_j)·L_j(λ')·R_d(λ'),
// with λ' = doppler->emittedWavelength(λ_k, D) when `doppler` is given (the
// Doppler switch on) and λ' = λ_k without it. The ambient light contributes
// whether or not it is switched on; the sum runs over the lights that are
// present, on, have a spectrum and face the vertex (n·l > 0). A missing
// material or spectrum, or a term whose intensity·factor·cosine is 0,
// contributes nothing and is not evaluated. Each spectrum that takes part is
// evaluated once per sample, by one batch call (evaluateAscending) per chunk
// of up to 64 samples, however many terms use it: the diffuse reflectance is
// not re-evaluated per light, and a light that is also the ambient light, or
// shares its spectrum with another, is evaluated once. Allocates nothing.
void shadeVertex(const LightingContext& context, const VertexRay& vertex, SampledSpectrum& output,
                 float dopplerFactor, const WavelengthMapping* doppler);

} // namespace quillmere
