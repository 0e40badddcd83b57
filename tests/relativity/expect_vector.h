// Component-wise comparisons of the kinematics' vectors in tests.
#pragma once

#include "relativity/vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quillmere {

constexpr float kTight = 1e-5f; // single-precision rounding of a few operations

inline void expectVector(const Vector3& actual, const Vector3& expected, float tolerance = kTight) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void expectEvent(const Vector4& actual, const Vector4& expected, float tolerance = kTight) {
  expectVector(actual.spatial(), expected.spatial(), tolerance);
  EXPECT_NEAR(actual.t, expected.t, tolerance);
}

// Finite, and equal to 1e-5 of the expected length (at least 1): float rounding of a chain of operations.
inline void expectClose(const Vector3& actual, const Vector3& expected) {
  EXPECT_TRUE(std::isfinite(actual.x) && std::isfinite(actual.y) && std::isfinite(actual.z));
  expectVector(actual, expected, 1e-5f * std::max(1.0f, expected.length()));
}

} // namespace quillmere
