#include "relativity/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace quillmere;

namespace {

constexpr float kTolerance = 1e-5f; // single-precision storage of O(1) numbers

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = kTolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectNear(const Vector4& actual, const Vector4& expected, float tolerance = kTolerance) {
  expectNear(actual.spatial(), expected.spatial(), tolerance);
  EXPECT_NEAR(actual.t, expected.t, tolerance);
}

} // namespace

TEST(Matrix4, RotationTranslationAndTheirTransposedForms) {
  // A quarter turn about +z (axis not normalised) turns x into y.
  Matrix4 quarter = Matrix4::rotation(0, 0, 2, float(M_PI / 2));
  expectNear(quarter.transformPoint({1, 0, 0}), {0, 1, 0});
  // Its transposed form is the inverse rotation.
  expectNear(quarter.transformPointTransposed({0, 1, 0}), {1, 0, 0});

  Matrix4 shift = Matrix4::translation(1, 2, 3);
  expectNear(shift.transformPoint({0, 0, 0}), {1, 2, 3});
  // Transposed, the translation lands in the w row: p/(1 + p·(1, 2, 3)).
  Vector3 p(1, 1, 1);
  expectNear(shift.transformPointTransposed(p), {1.0f / 7, 1.0f / 7, 1.0f / 7});
}

TEST(Matrix4, MultiplicationOrderMatchesGlMultMatrix) {
  // M := M·N applies N first: translate after rotating.
  Matrix4 m = Matrix4::translation(5, 0, 0);
  m.postMultiply(Matrix4::rotation(0, 0, 1, float(M_PI / 2)));
  expectNear(m.transformPoint({1, 0, 0}), {5, 1, 0});
  // M := N·M applies N last.
  Matrix4 n = Matrix4::translation(5, 0, 0);
  n.preMultiply(Matrix4::rotation(0, 0, 1, float(M_PI / 2)));
  expectNear(n.transformPoint({1, 0, 0}), {0, 6, 0});
}

TEST(Matrix4, InvertGivesIdentityAndSurvivesASingularMatrix) {
  Matrix4 m = Matrix4::rotation(1, 2, 3, 0.7f);
  m.postMultiply(Matrix4::scaling(2, 3, 4));
  m.preMultiply(Matrix4::translation(-1, 4, 2));
  Matrix4 inverse = m;
  inverse.invert();
  Matrix4 product = multiply(m, inverse);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(product(r, c), r == c ? 1.0f : 0.0f, 1e-5f) << r << "," << c;

  Matrix4 singular;
  for (int c = 0; c < 4; ++c) singular(2, c) = 0;
  testing::internal::CaptureStderr();
  singular.invert(); // said, not a crash
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST(Matrix4, LookAtBuildsCameraLookingDownMinusZ) {
  Matrix4 m = lookAt({0, 0, 1}, {0, 1, 0});
  // Rows x = (−1, 0, 0), y = (0, 1, 0), z = (0, 0, −1).
  expectNear({m(0, 0), m(0, 1), m(0, 2)}, {-1, 0, 0});
  expectNear({m(1, 0), m(1, 1), m(1, 2)}, {0, 1, 0});
  expectNear({m(2, 0), m(2, 1), m(2, 2)}, {0, 0, -1});
  // The flight direction lies along the camera's −z.
  expectNear(lookAt({3, 0, 4}, {0, 1, 0}).transformPoint({0.6f, 0, 0.8f}), {0, 0, -1});

  // Flying straight up, the hint (0, 1, 0) is useless and the fallback is taken.
  Matrix4 up = lookAtGuarded({0, 1, 0}, {0, 1, 0}, {0, 0, 1});
  for (float value : up.m) EXPECT_TRUE(std::isfinite(value));
  expectNear(up.transformPoint({0, 1, 0}), {0, 0, -1});
}

TEST(Matrix4, BoostMovesEventsIntoTheMovingFrame) {
  // β = 0.6 along x: γ = 1.25; a clock at the origin reads t = 1 there.
  Matrix4 b = boost(0.6f, 1, 0, 0);
  Vector4 event(0, 0, 0, 1);
  b.transform4(event);
  expectNear(event, {-0.75f, 0, 0, 1.25f});

  // The interval x² − t² is the same in both frames, for any direction.
  Matrix4 oblique = boost(0.8f, 1, -2, 2);
  Vector4 e(0.3f, -1.2f, 2.0f, 4.0f);
  float before = e.x * e.x + e.y * e.y + e.z * e.z - e.t * e.t;
  oblique.transform4(e);
  EXPECT_NEAR(e.x * e.x + e.y * e.y + e.z * e.z - e.t * e.t, before, 1e-4f);

  Matrix4 none = boost(0.6f, 0, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(none.m[i], Matrix4::identity().m[i]);
}

TEST(Matrix3, RowVectorProductAndInverse) {
  Matrix3 a = Matrix3::fromRows({2, 0, 1}, {1, 3, 0}, {0, 1, 4});
  // (1, 1, 1)·A sums the columns: (3, 4, 5).
  expectNear(a.rowVectorProduct({1, 1, 1}), {3, 4, 5});
  Matrix3 inverse = a;
  inverse.invert();
  Vector3 v(0.5f, -2, 7);
  expectNear(inverse.rowVectorProduct(a.rowVectorProduct(v)), v, 1e-5f);

  Matrix3 singular = Matrix3::fromRows({1, 2, 3}, {0, 0, 0}, {4, 5, 6});
  testing::internal::CaptureStderr();
  singular.invert();
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}
