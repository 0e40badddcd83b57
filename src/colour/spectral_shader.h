// The per-vertex colour of the spectral path, prepared once per draw. The
// conversion of an observed spectrum to RGB is linear in its samples, and
// the observed spectrum is linear in the per-vertex cosines, so:
//
//  - SpectralSampling folds the resampling of the observed samples onto the
//    chromaticity table and the 5 nm sum of spectrumToRgb into one RGB
//    weight per sample, computed once per sample grid;
//  - SpectralShader, built per draw from the lighting context, reduces each
//    term of shadeVertex to an RGB triple when the Doppler switch is off
//    (nothing of it depends on the vertex but the cosines), and otherwise
//    evaluates each spectrum that takes part once per vertex by one batch
//    call over the Doppler-shifted wavelengths, on the stack.
//
// colourOf equals shadeVertex followed by spectrumToRgb up to float
// rounding (the sums run in another order).
#pragma once

#include "colour/cie_observer.h"
#include "colour/sampled_spectrum.h"
#include "colour/spectral_shading.h"
#include "colour/wavelength_mapping.h"
#include "relativity/vector.h"

#include <vector>

namespace quillmere {

class SpectralSampling {
public:
  static constexpr int kMaxSamples = 64;

  // The grid of SampledSpectrum::resample(count, firstNm, endNm); count is
  // limited to 1..kMaxSamples.
  SpectralSampling(int count, float firstNm, float endNm);
  // The same grid with the weights of another conversion: `xyzToRgb` times
  // the CIE 1931 XYZ (spectrumToXyz) of each unit impulse.
  SpectralSampling(int count, float firstNm, float endNm, const ColourMatrix& xyzToRgb);

  int count() const { return count_; }
  const float* wavelengths() const { return wavelengthsNm_; }

  // spectrumToRgb of a sampled spectrum on this grid with values v is
  // Σ_k v_k·(red[k], green[k], blue[k]).
  const float* redWeights() const { return red_; }
  const float* greenWeights() const { return green_; }
  const float* blueWeights() const { return blue_; }

  // Σ_k v_k·weight_k for count() values.
  Vector3 toRgb(const float* values) const;

private:
  // The weights of each unit impulse, as `toRgb` converts a whole spectrum.
  template <typename ToRgb>
  void weighImpulses(int count, float firstNm, float endNm, ToRgb toRgb);

  int count_ = 0;
  float wavelengthsNm_[kMaxSamples] = {};
  float red_[kMaxSamples] = {}, green_[kMaxSamples] = {}, blue_[kMaxSamples] = {};
};

class SpectralShader {
public:
  // `doppler` null: the Doppler switch is off. The sampling, the context's
  // lights, material and spectra and the mapping must outlive the shader;
  // their values are read here (Doppler off) or per vertex (Doppler on),
  // so they must not change while it is in use.
  SpectralShader(const SpectralSampling& sampling, const LightingContext& context,
                 const WavelengthMapping* doppler);

  // RGB of the vertex before the searchlight factor and the gamut clip.
  // Allocates nothing.
  Vector3 colourOf(const VertexRay& vertex, float dopplerFactor) const;

private:
  struct LightTerm {
    const SpectralLight* light;
    const Spectrum* spectrum; // L_j
    float scale;              // I_j·k_d, multiplied by the cosine per vertex
    Vector3 rgb;              // Doppler off: RGB of L_j·R_d
  };

  Vector3 shiftedColour(const VertexRay& vertex, float dopplerFactor) const;

  const SpectralSampling* sampling_;
  const WavelengthMapping* doppler_;
  const Spectrum* ambientLight_ = nullptr;       // L_a, with ambientScale_ ≠ 0 only
  const Spectrum* ambientReflectance_ = nullptr; // R_a
  float ambientScale_ = 0.0f;                    // I_a·k_a
  Vector3 ambientRgb_;                           // Doppler off: I_a·k_a·RGB of L_a·R_a
  const Spectrum* diffuseReflectance_ = nullptr; // R_d
  std::vector<LightTerm> lights_;                // present, on, with a spectrum and I·k_d ≠ 0
};

} // namespace quillmere
