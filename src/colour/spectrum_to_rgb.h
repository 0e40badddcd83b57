// Conversion of a spectrum to the RGB triple sent to OpenGL, with the CIE 1931
// RGB chromaticity coordinates of the spectral colours (primaries at 700,
// 546.1 and 435.8 nm) as weights, sampled every 5 nm from 380 to 780 nm.
// The weights are chromaticities, not colour-matching functions: there is no
// luminance weighting, and a monochromatic stimulus of unit strength converts
// to a triple summing to 5. The result is not clipped (see GamutMapping).
#pragma once

#include "colour/spectrum.h"
#include "relativity/vector.h"

namespace quillmere {

struct CieRgbRow {
  float wavelengthNm;
  float r, g, b; // chromaticity coordinates, r + g + b = 1
};

constexpr int kCieRgbRowCount = 81; // 380, 385, …, 780 nm
constexpr float kCieRgbStepNm = 5.0f;

// The table, in increasing wavelength.
extern const CieRgbRow kCieRgbTable[kCieRgbRowCount];

// Each channel is 5 nm × Σ_k S(λ_k)·w(λ_k), summed in increasing wavelength in
// a float accumulator. The spectrum is read only through `evaluate`, once per
// table row; nothing is allocated.
Vector3 spectrumToRgb(const Spectrum& spectrum);
void spectrumToRgb(const Spectrum& spectrum, float& red, float& green, float& blue);

} // namespace quillmere
