// A relativistic material record together with the spectra it refers to,
// which it owns. Shapes own one each: none is shared.
#pragma once

#include "colour/rel_material.h"
#include "colour/spectrum.h"
#include "relativity/vector.h"

#include <memory>
#include <vector>

namespace quillmere {

class ColourPipeline;
class DvMaterial;

struct DvSpectralMaterial {
  RelMaterial record;                              // refers into `spectra`
  std::vector<std::unique_ptr<Spectrum>> spectra;  // owned

  // Takes ownership and returns the spectrum for the record to refer to.
  const Spectrum* own(std::unique_ptr<Spectrum> spectrum);
};

// σ of the RGB spectra an OpenGL material becomes on the spectral path.
constexpr float kRgbSpectrumWidthNm = 20.0f;

// What the spectral path shades a shape without a relativistic material
// with: its OpenGL material's ambient, diffuse and specular colours as three
// RGB spectra (factors 1, 1, 1); without a material, one grey RGB spectrum
// (0.8, 0.8, 0.8) as all three with factors 0, 1, 0. With a pipeline, the
// spectra are its uplift of the colours (ColourPipeline::rgbSpectrum);
// without one, or for the system model with Gaussians, RGB spectra as above.
std::unique_ptr<DvSpectralMaterial> makeRgbSpectralMaterial(const DvMaterial* material,
                                                            const ColourPipeline* pipeline = nullptr);

// Three RGB spectra of width σ (nm) with the given targets, factors 1, 1, 1.
std::unique_ptr<DvSpectralMaterial> makeRgbSpectralMaterial(const Vector3& ambient, const Vector3& diffuse,
                                                            const Vector3& specular, float widthNm);

} // namespace quillmere
