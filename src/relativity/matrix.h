// 4×4 matrices in OpenGL column-major order (element (row r, column c) at
// index 4c + r, so they go to glMultMatrixf unchanged), and the 3×3 matrix of
// the colour code. Angles are in radians.
#pragma once

#include "relativity/vector.h"

namespace quillmere {

struct Matrix4 {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // column-major

  float operator()(int row, int column) const { return m[4 * column + row]; }
  float& operator()(int row, int column) { return m[4 * column + row]; }

  static Matrix4 identity() { return Matrix4(); }
  static Matrix4 translation(float x, float y, float z);
  static Matrix4 translation(const Vector3& v) { return translation(v.x, v.y, v.z); }
  static Matrix4 scaling(float x, float y, float z);
  static Matrix4 scaling(const Vector3& v) { return scaling(v.x, v.y, v.z); }
  // Right-handed rotation by `angle` about the (normalised) axis, the matrix glRotate builds.
  static Matrix4 rotation(float axisX, float axisY, float axisZ, float angle);
  static Matrix4 fromValues(const float values[16]);
  // Columns a, b, c; no translation; m[15] = 1.
  static Matrix4 basis(const Vector3& a, const Vector3& b, const Vector3& c);

  void postMultiply(const Matrix4& n); // this := this · n (what glMultMatrix does)
  void preMultiply(const Matrix4& n);  // this := n · this
  void transpose();
  // Replaces the matrix by its inverse (LU decomposition with implicit row
  // scaling and partial pivoting). A singular matrix is reported and gives a
  // huge or non-finite result; nothing is thrown.
  void invert();

  // q = M·(p, 1), returned divided by q.w.
  Vector3 transformPoint(const Vector3& p) const;
  // q = Mᵀ·(p, 1) divided by q.w: for a rotation, the inverse rotation.
  Vector3 transformPointTransposed(const Vector3& p) const;
  // v := M·v, no division: carries events and 4-velocities between frames.
  void transform4(Vector4& v) const;
};

Matrix4 multiply(const Matrix4& a, const Matrix4& b); // a · b

// Rotation with rows x, y, z of a camera that looks along f (its own −z axis)
// with up hint u: maps world vectors into camera coordinates.
Matrix4 lookAt(const Vector3& f, const Vector3& u);

// lookAt with a fallback hint for when u is (nearly) parallel to f:
// the hint is used while 1 − |f̂·û| ≥ 0.001, the fallback otherwise.
Matrix4 lookAtGuarded(const Vector3& f, const Vector3& u, const Vector3& fallback);

// Lorentz boost into the coordinates of a frame moving with velocity β·v̂
// (rows and columns x, y, z, t). Identity when |v| < 1e-10.
Matrix4 boost(float beta, float vx, float vy, float vz);
inline Matrix4 boost(float beta, const Vector3& v) { return boost(beta, v.x, v.y, v.z); }

// 3×3 matrix of the colour code: three rows of four floats, the fourth unused.
struct Matrix3 {
  float m[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}; // row i, column j at 4i + j

  float operator()(int row, int column) const { return m[4 * row + column]; }
  float& operator()(int row, int column) { return m[4 * row + column]; }

  static Matrix3 fromRows(const Vector3& a, const Vector3& b, const Vector3& c);
  // The row vector v times this matrix: w_i = Σ_j v_j·A(j, i).
  Vector3 rowVectorProduct(const Vector3& v) const;
  void invert();
};

} // namespace quillmere
