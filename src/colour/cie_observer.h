// The CIE 1931 2° standard observer: colour-matching functions x̄, ȳ, z̄
// every 5 nm from 360 to 830 nm, the conversion of a spectrum to CIE XYZ,
// and the fixed matrices of the sRGB colour space (IEC 61966-2-1, D65) and
// of the Bradford chromatic adaptation. XYZ here is in the spectrum's own
// units times nm (Σ S·x̄·Δλ); the colour pipeline scales it to display units.
#pragma once

#include "colour/spectrum.h"

namespace quillmere {

constexpr int kCieRowCount = 95;      // 360, 365, …, 830 nm
constexpr double kCieFirstNm = 360.0;
constexpr double kCieStepNm = 5.0;

// x̄, ȳ, z̄ of row k (wavelength kCieFirstNm + k·kCieStepNm), as published.
extern const double kCie1931Cmf[kCieRowCount][3];

// A colour triple in double precision (XYZ or linear RGB).
struct Tristimulus {
  double c[3] = {0, 0, 0};
  double& operator[](int i) { return c[i]; }
  double operator[](int i) const { return c[i]; }
};

// A 3×3 matrix in double precision, row i column j at m[i][j].
struct ColourMatrix {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

  Tristimulus operator*(const Tristimulus& v) const;
  ColourMatrix operator*(const ColourMatrix& b) const;
  ColourMatrix scaled(double factor) const;
  // The inverse; the identity for a singular matrix.
  ColourMatrix inverse() const;
};

// XYZ (D65 white at Y = 1) to linear sRGB, the standard's four-decimal matrix.
extern const ColourMatrix kXyzToLinearSrgb;
// Its inverse: linear sRGB to XYZ; row 1 gives the luminance of an RGB.
ColourMatrix linearSrgbToXyz();
// The D65 white of sRGB, x = 0.3127, y = 0.3290, at Y = 1.
Tristimulus d65White();

// XYZ = Σ_k S(λ_k)·(x̄, ȳ, z̄)_k·5 nm over the table's rows, summed in
// double precision. The spectrum is read through evaluateAscending once.
Tristimulus spectrumToXyz(const Spectrum& spectrum);

// Chromaticity (x, y) of an XYZ; (0, 0) for black.
void chromaticity(const Tristimulus& xyz, double& x, double& y);

// The Bradford transform that maps colours seen under `sourceWhite` to the
// corresponding colours under `targetWhite` (both XYZ): a von Kries scaling
// in the Bradford cone space, M⁻¹·diag(ρ_t/ρ_s)·M.
ColourMatrix bradfordAdaptation(const Tristimulus& sourceWhite, const Tristimulus& targetWhite);

} // namespace quillmere
