#include "colour/cie_observer.h"

namespace quillmere {

// CIE 1931 2° x̄, ȳ, z̄, 360 to 830 nm every 5 nm (src/colour/data/README.md).
const double kCie1931Cmf[kCieRowCount][3] = {
    {0.0001299, 0.000003917, 0.0006061},
    {0.0002321, 0.000006965, 0.001086},
    {0.0004149, 0.00001239, 0.001946},
    {0.0007416, 0.00002202, 0.003486},
    {0.001368, 0.000039, 0.006450001},
    {0.002236, 0.000064, 0.01054999},
    {0.004243, 0.00012, 0.02005001},
    {0.00765, 0.000217, 0.03621},
    {0.01431, 0.000396, 0.06785001},
    {0.02319, 0.00064, 0.1102},
    {0.04351, 0.00121, 0.2074},
    {0.07763, 0.00218, 0.3713},
    {0.13438, 0.004, 0.6456},
    {0.21477, 0.0073, 1.0390501},
    {0.2839, 0.0116, 1.3856},
    {0.3285, 0.01684, 1.62296},
    {0.34828, 0.023, 1.74706},
    {0.34806, 0.0298, 1.7826},
    {0.3362, 0.038, 1.77211},
    {0.3187, 0.048, 1.7441},
    {0.2908, 0.06, 1.6692},
    {0.2511, 0.0739, 1.5281},
    {0.19536, 0.09098, 1.28764},
    {0.1421, 0.1126, 1.0419},
    {0.09564, 0.13902, 0.8129501},
    {0.05795001, 0.1693, 0.6162},
    {0.03201, 0.20802, 0.46518},
    {0.0147, 0.2586, 0.3533},
    {0.0049, 0.323, 0.272},
    {0.0024, 0.4073, 0.2123},
    {0.0093, 0.503, 0.1582},
    {0.0291, 0.6082, 0.1117},
    {0.06327, 0.71, 0.07824999},
    {0.1096, 0.7932, 0.05725001},
    {0.1655, 0.862, 0.04216},
    {0.2257499, 0.9148501, 0.02984},
    {0.2904, 0.954, 0.0203},
    {0.3597, 0.9803, 0.0134},
    {0.4334499, 0.9949501, 0.008749999},
    {0.5120501, 1.0, 0.005749999},
    {0.5945, 0.995, 0.0039},
    {0.6784, 0.9786, 0.002749999},
    {0.7621, 0.952, 0.0021},
    {0.8425, 0.9154, 0.0018},
    {0.9163, 0.87, 0.001650001},
    {0.9786, 0.8163, 0.0014},
    {1.0263, 0.757, 0.0011},
    {1.0567, 0.6949, 0.001},
    {1.0622, 0.631, 0.0008},
    {1.0456, 0.5668, 0.0006},
    {1.0026, 0.503, 0.00034},
    {0.9384, 0.4412, 0.00024},
    {0.8544499, 0.381, 0.00019},
    {0.7514, 0.321, 0.0001},
    {0.6424, 0.265, 0.00004999999},
    {0.5419, 0.217, 0.00003},
    {0.4479, 0.175, 0.00002},
    {0.3608, 0.1382, 0.00001},
    {0.2835, 0.107, 0.0},
    {0.2187, 0.0816, 0.0},
    {0.1649, 0.061, 0.0},
    {0.1212, 0.04458, 0.0},
    {0.0874, 0.032, 0.0},
    {0.0636, 0.0232, 0.0},
    {0.04677, 0.017, 0.0},
    {0.0329, 0.01192, 0.0},
    {0.0227, 0.00821, 0.0},
    {0.01584, 0.005723, 0.0},
    {0.01135916, 0.004102, 0.0},
    {0.008110916, 0.002929, 0.0},
    {0.005790346, 0.002091, 0.0},
    {0.004109457, 0.001484, 0.0},
    {0.002899327, 0.001047, 0.0},
    {0.00204919, 0.00074, 0.0},
    {0.001439971, 0.00052, 0.0},
    {0.0009999493, 0.0003611, 0.0},
    {0.0006900786, 0.0002492, 0.0},
    {0.0004760213, 0.0001719, 0.0},
    {0.0003323011, 0.00012, 0.0},
    {0.0002348261, 0.0000848, 0.0},
    {0.0001661505, 0.00006, 0.0},
    {0.000117413, 0.0000424, 0.0},
    {0.00008307527, 0.00003, 0.0},
    {0.00005870652, 0.0000212, 0.0},
    {0.00004150994, 0.00001499, 0.0},
    {0.00002935326, 0.0000106, 0.0},
    {0.00002067383, 0.0000074657, 0.0},
    {0.00001455977, 0.0000052578, 0.0},
    {0.00001025398, 0.0000037029, 0.0},
    {0.000007221456, 0.0000026078, 0.0},
    {0.000005085868, 0.0000018366, 0.0},
    {0.000003581652, 0.0000012934, 0.0},
    {0.000002522525, 0.00000091093, 0.0},
    {0.000001776509, 0.00000064153, 0.0},
    {0.000001251141, 0.00000045181, 0.0},
};

const ColourMatrix kXyzToLinearSrgb = {{{3.2406, -1.5372, -0.4986},
                                        {-0.9689, 1.8758, 0.0415},
                                        {0.0557, -0.2040, 1.0570}}};

namespace {

// The Bradford cone-response matrix (Lam 1985, as CIECAM97s adopted it).
const ColourMatrix kBradford = {{{0.8951, 0.2664, -0.1614},
                                 {-0.7502, 1.7135, 0.0367},
                                 {0.0389, -0.0685, 1.0296}}};

} // namespace

Tristimulus ColourMatrix::operator*(const Tristimulus& v) const {
  Tristimulus r;
  for (int i = 0; i < 3; ++i) r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
  return r;
}

ColourMatrix ColourMatrix::operator*(const ColourMatrix& b) const {
  ColourMatrix r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
  return r;
}

ColourMatrix ColourMatrix::scaled(double factor) const {
  ColourMatrix r = *this;
  for (auto& row : r.m)
    for (double& value : row) value *= factor;
  return r;
}

ColourMatrix ColourMatrix::inverse() const {
  // The adjugate over the determinant.
  const auto& a = m;
  ColourMatrix r;
  r.m[0][0] = a[1][1] * a[2][2] - a[1][2] * a[2][1];
  r.m[0][1] = a[0][2] * a[2][1] - a[0][1] * a[2][2];
  r.m[0][2] = a[0][1] * a[1][2] - a[0][2] * a[1][1];
  r.m[1][0] = a[1][2] * a[2][0] - a[1][0] * a[2][2];
  r.m[1][1] = a[0][0] * a[2][2] - a[0][2] * a[2][0];
  r.m[1][2] = a[0][2] * a[1][0] - a[0][0] * a[1][2];
  r.m[2][0] = a[1][0] * a[2][1] - a[1][1] * a[2][0];
  r.m[2][1] = a[0][1] * a[2][0] - a[0][0] * a[2][1];
  r.m[2][2] = a[0][0] * a[1][1] - a[0][1] * a[1][0];
  const double determinant = a[0][0] * r.m[0][0] + a[0][1] * r.m[1][0] + a[0][2] * r.m[2][0];
  if (determinant == 0.0) return ColourMatrix();
  return r.scaled(1.0 / determinant);
}

ColourMatrix linearSrgbToXyz() { return kXyzToLinearSrgb.inverse(); }

Tristimulus d65White() { return Tristimulus{{0.3127 / 0.3290, 1.0, (1.0 - 0.3127 - 0.3290) / 0.3290}}; }

Tristimulus spectrumToXyz(const Spectrum& spectrum) {
  float wavelengths[kCieRowCount], values[kCieRowCount];
  for (int k = 0; k < kCieRowCount; ++k) wavelengths[k] = float(kCieFirstNm + k * kCieStepNm);
  spectrum.evaluateAscending(wavelengths, kCieRowCount, values);
  Tristimulus xyz;
  for (int k = 0; k < kCieRowCount; ++k)
    for (int i = 0; i < 3; ++i) xyz[i] += double(values[k]) * kCie1931Cmf[k][i];
  for (int i = 0; i < 3; ++i) xyz[i] *= kCieStepNm;
  return xyz;
}

void chromaticity(const Tristimulus& xyz, double& x, double& y) {
  const double sum = xyz[0] + xyz[1] + xyz[2];
  x = sum != 0.0 ? xyz[0] / sum : 0.0;
  y = sum != 0.0 ? xyz[1] / sum : 0.0;
}

ColourMatrix bradfordAdaptation(const Tristimulus& sourceWhite, const Tristimulus& targetWhite) {
  const Tristimulus source = kBradford * sourceWhite, target = kBradford * targetWhite;
  ColourMatrix gain;
  for (int i = 0; i < 3; ++i) gain.m[i][i] = source[i] != 0.0 ? target[i] / source[i] : 1.0;
  return kBradford.inverse() * gain * kBradford;
}

} // namespace quillmere
