// Single-precision 3- and 4-vectors of the kinematics and colour code.
// Units: c = 1, distances and times in scene units. An event is (x, y, z, t)
// with time last; a 4-velocity is (γβ·d, γ).
#pragma once

#include <cmath>
#include <ostream>

namespace quillmere {

struct Vector3 {
  float x = 0, y = 0, z = 0;

  Vector3() = default;
  constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

  float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

  float length() const { return std::sqrt(x * x + y * y + z * z); }

  // Divides by the length and returns true; a vector of length exactly 0 is
  // left as it was and reported by returning false.
  bool normalize();

  // Copy scaled by 1/length. No zero check: a zero vector gives non-finite values.
  Vector3 normalized() const;

  void components(float& xOut, float& yOut, float& zOut) const {
    xOut = x;
    yOut = y;
    zOut = z;
  }
};

struct Vector4 {
  float x = 0, y = 0, z = 0, t = 0; // t is the time (or w) component

  Vector4() = default;
  constexpr Vector4(float xValue, float yValue, float zValue, float tValue)
      : x(xValue), y(yValue), z(zValue), t(tValue) {}
  constexpr Vector4(const Vector3& space, float tValue) : x(space.x), y(space.y), z(space.z), t(tValue) {}

  float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : t)); }
  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : t)); }

  Vector3 spatial() const { return {x, y, z}; }

  void components(float& xOut, float& yOut, float& zOut, float& tOut) const {
    xOut = x;
    yOut = y;
    zOut = z;
    tOut = t;
  }
};

// A double-precision event, for what is integrated over a whole flight (the
// observer's event): a float keeps only about seven digits, so 70 000 units
// from the origin it resolves no finer than 1/128 of a unit, and the rounding
// of many small steps adds up. Per-vertex code reads the float form.
struct Vector4d {
  double x = 0, y = 0, z = 0, t = 0; // t is the time component

  Vector4d() = default;
  constexpr Vector4d(double xValue, double yValue, double zValue, double tValue)
      : x(xValue), y(yValue), z(zValue), t(tValue) {}
  constexpr explicit Vector4d(const Vector4& v) : x(v.x), y(v.y), z(v.z), t(v.t) {}

  // Rounded to single precision.
  Vector4 toFloat() const { return {float(x), float(y), float(z), float(t)}; }
};

inline Vector4d operator+(const Vector4d& a, const Vector4d& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z, a.t + b.t};
}

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator-(const Vector3& a) { return {-a.x, -a.y, -a.z}; }
inline Vector3 operator*(float s, const Vector3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline Vector3 operator*(const Vector3& a, float s) { return {s * a.x, s * a.y, s * a.z}; }
inline Vector3& operator+=(Vector3& a, const Vector3& b) { return a = a + b; }
inline Vector3& operator-=(Vector3& a, const Vector3& b) { return a = a - b; }
inline bool operator==(const Vector3& a, const Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool operator!=(const Vector3& a, const Vector3& b) { return !(a == b); }

inline float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline Vector4 operator+(const Vector4& a, const Vector4& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z, a.t + b.t};
}
inline Vector4& operator+=(Vector4& a, const Vector4& b) { return a = a + b; }

inline bool Vector3::normalize() {
  float len = length();
  if (len == 0.0f) return false;
  x /= len;
  y /= len;
  z /= len;
  return true;
}

inline Vector3 Vector3::normalized() const {
  float inverseLength = 1.0f / length();
  return {x * inverseLength, y * inverseLength, z * inverseLength};
}

// Writes "(x,y,z)", as the frame-of-reference trace prints positions.
std::ostream& operator<<(std::ostream& stream, const Vector3& v);

} // namespace quillmere
