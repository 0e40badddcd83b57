#include "colour/smooth_spectrum.h"

#include "colour/vector_clones.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

constexpr float kInverseRangeNm = 1.0f / (SigmoidSpectrum::kLastNm - SigmoidSpectrum::kFirstNm);

// Clamped as a wavelength, so that every wavelength beyond an end takes
// exactly the end's value.
inline float positionOf(float wavelengthNm) {
  const float nm = std::min(std::max(wavelengthNm, SigmoidSpectrum::kFirstNm), SigmoidSpectrum::kLastNm);
  return (nm - SigmoidSpectrum::kFirstNm) * kInverseRangeNm;
}

inline float sigmoid(float x) { return 0.5f + 0.5f * x / std::sqrt(1.0f + x * x); }

QUILLMERE_VECTOR_CLONES
void sigmoidValues(const float* __restrict in, int count, float* __restrict out, float c0, float c1, float c2,
                   float scale) {
  for (int i = 0; i < count; ++i) {
    const float t = positionOf(in[i]);
    out[i] = scale * sigmoid((c0 * t + c1) * t + c2);
  }
}

} // namespace

float SigmoidSpectrum::evaluate(float wavelengthNm) const {
  const float t = positionOf(wavelengthNm);
  return scale_ * sigmoid((c_.x * t + c_.y) * t + c_.z);
}

void SigmoidSpectrum::evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
  sigmoidValues(wavelengthsNm, count, values, c_.x, c_.y, c_.z, scale_);
}

void SigmoidSpectrum::reflectance(const Vector3& c, const float* wavelengthsNm, int count, float* values) {
  sigmoidValues(wavelengthsNm, count, values, c.x, c.y, c.z, 1.0f);
}

namespace {

// The colour of coefficients c in double precision, and its Jacobian
// J[i][j] = ∂rgb_i/∂c_j.
void colourAndJacobian(const RestResponse& response, const double c[3], double rgb[3], double jacobian[3][3]) {
  for (int i = 0; i < 3; ++i) {
    rgb[i] = 0.0;
    for (int j = 0; j < 3; ++j) jacobian[i][j] = 0.0;
  }
  for (int k = 0; k < response.count; ++k) {
    const double t = double(positionOf(response.wavelengthsNm[k]));
    const double x = (c[0] * t + c[1]) * t + c[2];
    const double root = std::sqrt(1.0 + x * x);
    const double value = 0.5 + 0.5 * x / root;
    const double slope = 0.5 / (root * root * root); // dS/dx
    const double dc[3] = {slope * t * t, slope * t, slope};
    const Vector3& w = response.rgb[k];
    const double weight[3] = {w.x, w.y, w.z};
    for (int i = 0; i < 3; ++i) {
      rgb[i] += weight[i] * value;
      for (int j = 0; j < 3; ++j) jacobian[i][j] += weight[i] * dc[j];
    }
  }
}

// Solves the 3×3 system a·x = b by Cramer's rule; false when singular.
bool solve3(const double a[3][3], const double b[3], double x[3]) {
  const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                     a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                     a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
  if (!(std::fabs(det) > 1e-300)) return false;
  for (int column = 0; column < 3; ++column) {
    double m[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) m[i][j] = j == column ? b[i] : a[i][j];
    x[column] = (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                 m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0])) /
                det;
  }
  return true;
}

double squaredError(const RestResponse& response, const double c[3], const double target[3]) {
  double rgb[3], jacobian[3][3];
  colourAndJacobian(response, c, rgb, jacobian);
  double sum = 0.0;
  for (int i = 0; i < 3; ++i) sum += (rgb[i] - target[i]) * (rgb[i] - target[i]);
  return sum;
}

// Levenberg–Marquardt steps towards `target` from c; returns the squared error.
double refine(const RestResponse& response, const double target[3], double c[3], int iterations) {
  double damping = 1e-3;
  double error = squaredError(response, c, target);
  for (int iteration = 0; iteration < iterations && error > 1e-14; ++iteration) {
    double rgb[3], j[3][3];
    colourAndJacobian(response, c, rgb, j);
    double normal[3][3], gradient[3];
    for (int a = 0; a < 3; ++a) {
      gradient[a] = 0.0;
      for (int i = 0; i < 3; ++i) gradient[a] += j[i][a] * (target[i] - rgb[i]);
      for (int b = 0; b < 3; ++b) {
        normal[a][b] = 0.0;
        for (int i = 0; i < 3; ++i) normal[a][b] += j[i][a] * j[i][b];
      }
    }
    bool improved = false;
    for (int attempt = 0; attempt < 12 && !improved; ++attempt) {
      double damped[3][3], step[3];
      for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) damped[a][b] = normal[a][b] + (a == b ? damping * (normal[a][a] + 1e-12) : 0.0);
      if (!solve3(damped, gradient, step)) {
        damping *= 10.0;
        continue;
      }
      double trial[3] = {c[0] + step[0], c[1] + step[1], c[2] + step[2]};
      const double trialError = squaredError(response, trial, target);
      if (trialError < error) {
        for (int a = 0; a < 3; ++a) c[a] = trial[a];
        error = trialError;
        damping = std::max(damping * 0.2, 1e-9);
        improved = true;
      } else {
        damping *= 10.0;
      }
    }
    if (!improved) break;
  }
  return error;
}

} // namespace

bool fitSigmoidSpectrum(const RestResponse& response, const Vector3& linearTarget, Vector3& coefficients) {
  // The grey of the target's luminance (a flat spectrum is grey under the
  // white-balanced conversion), kept inside (0, 1).
  const double luminance = 0.2126 * linearTarget.x + 0.7152 * linearTarget.y + 0.0722 * linearTarget.z;
  const double grey = std::min(std::max(luminance, 1e-4), 1.0 - 1e-4);
  const double u = 2.0 * grey - 1.0;
  double c[3] = {0.0, 0.0, u / std::sqrt(1.0 - u * u)}; // S(c2) = grey

  // Most colours are reached from that grey directly; saturated ones along
  // a path from the grey to the target.
  const double start[3] = {c[0], c[1], c[2]};
  const double wanted[3] = {linearTarget.x, linearTarget.y, linearTarget.z};
  double error = refine(response, wanted, c, 30);
  if (error <= 1e-10) {
    coefficients = Vector3(float(c[0]), float(c[1]), float(c[2]));
    return true;
  }
  for (int i = 0; i < 3; ++i) c[i] = start[i];
  constexpr int kSteps = 8;
  for (int step = 1; step <= kSteps; ++step) {
    const double s = double(step) / kSteps;
    const double target[3] = {grey + s * (linearTarget.x - grey), grey + s * (linearTarget.y - grey),
                              grey + s * (linearTarget.z - grey)};
    error = refine(response, target, c, step == kSteps ? 60 : 8);
  }
  coefficients = Vector3(float(c[0]), float(c[1]), float(c[2]));
  return error <= 1e-8;
}

} // namespace quillmere
