// Component-wise comparisons of the kinematics' vectors in tests.
#pragma once

#include "relativity/vector.h"

#include <gtest/gtest.h>

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

} // namespace quillmere
