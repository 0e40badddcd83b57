#include "relativity/matrix.h"

#include "diagnostics/diagnostics.h"
#include "relativity/lu_decomposition.h"

#include <cmath>

namespace quillmere {

Matrix4 Matrix4::translation(float x, float y, float z) {
  Matrix4 result;
  result.m[12] = x;
  result.m[13] = y;
  result.m[14] = z;
  return result;
}

Matrix4 Matrix4::scaling(float x, float y, float z) {
  Matrix4 result;
  result.m[0] = x;
  result.m[5] = y;
  result.m[10] = z;
  return result;
}

Matrix4 Matrix4::rotation(float axisX, float axisY, float axisZ, float angle) {
  Vector3 axis(axisX, axisY, axisZ);
  axis.normalize();
  double x = axis.x, y = axis.y, z = axis.z;
  double c = std::cos(angle), s = std::sin(angle), k = 1.0 - c;
  Matrix4 r;
  r(0, 0) = float(x * x * k + c);
  r(0, 1) = float(x * y * k - z * s);
  r(0, 2) = float(x * z * k + y * s);
  r(1, 0) = float(y * x * k + z * s);
  r(1, 1) = float(y * y * k + c);
  r(1, 2) = float(y * z * k - x * s);
  r(2, 0) = float(z * x * k - y * s);
  r(2, 1) = float(z * y * k + x * s);
  r(2, 2) = float(z * z * k + c);
  return r;
}

Matrix4 Matrix4::fromValues(const float values[16]) {
  Matrix4 result;
  for (int i = 0; i < 16; ++i) result.m[i] = values[i];
  return result;
}

Matrix4 Matrix4::basis(const Vector3& a, const Vector3& b, const Vector3& c) {
  Matrix4 result;
  for (int r = 0; r < 3; ++r) {
    result(r, 0) = a[r];
    result(r, 1) = b[r];
    result(r, 2) = c[r];
  }
  return result;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 result;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += double(a(r, k)) * b(k, c);
      result(r, c) = float(sum);
    }
  }
  return result;
}

void Matrix4::postMultiply(const Matrix4& n) { *this = multiply(*this, n); }

void Matrix4::preMultiply(const Matrix4& n) { *this = multiply(n, *this); }

void Matrix4::transpose() {
  for (int r = 0; r < 4; ++r) {
    for (int c = r + 1; c < 4; ++c) {
      float held = m[4 * c + r];
      m[4 * c + r] = m[4 * r + c];
      m[4 * r + c] = held;
    }
  }
}

namespace {

void reportSingular4(const double* row, int) {
  printWarning("Singular matrix in routine LUdcmp %f, %f, %f, %f", row[0], row[1], row[2], row[3]);
}

void reportSingular3(const double*, int) { printWarning("Singular matrix in routine LUdcmp\n"); }

} // namespace

void Matrix4::invert() {
  double a[kMaxLuSize][kMaxLuSize];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) a[r][c] = (*this)(r, c);
  luInvert(a, 4, reportSingular4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) (*this)(r, c) = float(a[r][c]);
}

Vector3 Matrix4::transformPoint(const Vector3& p) const {
  double q[4];
  for (int r = 0; r < 4; ++r) q[r] = double(m[r]) * p.x + double(m[4 + r]) * p.y + double(m[8 + r]) * p.z + m[12 + r];
  return {float(q[0] / q[3]), float(q[1] / q[3]), float(q[2] / q[3])};
}

Vector3 Matrix4::transformPointTransposed(const Vector3& p) const {
  double q[4];
  for (int c = 0; c < 4; ++c)
    q[c] = double(m[4 * c]) * p.x + double(m[4 * c + 1]) * p.y + double(m[4 * c + 2]) * p.z + m[4 * c + 3];
  return {float(q[0] / q[3]), float(q[1] / q[3]), float(q[2] / q[3])};
}

void Matrix4::transform4(Vector4& v) const {
  double q[4];
  for (int r = 0; r < 4; ++r)
    q[r] = double(m[r]) * v.x + double(m[4 + r]) * v.y + double(m[8 + r]) * v.z + double(m[12 + r]) * v.t;
  v = Vector4(float(q[0]), float(q[1]), float(q[2]), float(q[3]));
}

Matrix4 lookAt(const Vector3& f, const Vector3& u) {
  // The camera looks along its own −z axis.
  Vector3 z = -f.normalized();
  Vector3 upHint = u.normalized();
  Vector3 x = cross(upHint, z);
  Vector3 y = cross(z, x);
  x.normalize();
  y.normalize();
  Matrix4 result = Matrix4::basis(x, y, z);
  result.transpose(); // rows x, y, z: world → camera coordinates
  return result;
}

Matrix4 lookAtGuarded(const Vector3& f, const Vector3& u, const Vector3& fallback) {
  float alignment = std::fabs(dot(f.normalized(), u.normalized()));
  return lookAt(f, 1.0f - alignment >= 0.001f ? u : fallback);
}

Matrix4 boost(float beta, float vx, float vy, float vz) {
  Matrix4 result;
  double length = std::sqrt(double(vx) * vx + double(vy) * vy + double(vz) * vz);
  if (length < 1e-10) return result;
  double n[3] = {vx / length, vy / length, vz / length};
  double gamma = 1.0 / std::sqrt(1.0 - double(beta) * beta);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) result(i, j) = float((i == j ? 1.0 : 0.0) + (gamma - 1.0) * n[i] * n[j]);
    result(i, 3) = float(-gamma * beta * n[i]);
    result(3, i) = float(-gamma * beta * n[i]);
  }
  result(3, 3) = float(gamma);
  return result;
}

Matrix3 Matrix3::fromRows(const Vector3& a, const Vector3& b, const Vector3& c) {
  Matrix3 result;
  for (int j = 0; j < 3; ++j) {
    result(0, j) = a[j];
    result(1, j) = b[j];
    result(2, j) = c[j];
  }
  return result;
}

Vector3 Matrix3::rowVectorProduct(const Vector3& v) const {
  Vector3 w;
  for (int i = 0; i < 3; ++i) w[i] = v.x * (*this)(0, i) + v.y * (*this)(1, i) + v.z * (*this)(2, i);
  return w;
}

void Matrix3::invert() {
  double a[kMaxLuSize][kMaxLuSize] = {};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) a[r][c] = (*this)(r, c);
  luInvert(a, 3, reportSingular3);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) (*this)(r, c) = float(a[r][c]);
}

} // namespace quillmere
