#include "relativity/matrix.h"

#include "expect_vector.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmere;

TEST(Matrix4, MultiplicationOrderMatchesGlMultMatrix) {
  // M := M·N applies N first: translate after rotating.
  Matrix4 m = Matrix4::translation(5, 0, 0);
  m.postMultiply(Matrix4::rotation(0, 0, 1, float(M_PI / 2)));
  expectVector(m.transformPoint({1, 0, 0}), {5, 1, 0});
  // M := N·M applies N last.
  Matrix4 n = Matrix4::translation(5, 0, 0);
  n.preMultiply(Matrix4::rotation(0, 0, 1, float(M_PI / 2)));
  expectVector(n.transformPoint({1, 0, 0}), {0, 6, 0});
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
  expectVector({m(0, 0), m(0, 1), m(0, 2)}, {-1, 0, 0});
  expectVector({m(1, 0), m(1, 1), m(1, 2)}, {0, 1, 0});
  expectVector({m(2, 0), m(2, 1), m(2, 2)}, {0, 0, -1});
  // The flight direction lies along the camera's −z.
  expectVector(lookAt({3, 0, 4}, {0, 1, 0}).transformPoint({0.6f, 0, 0.8f}), {0, 0, -1});

  // Flying straight up, the hint (0, 1, 0) is useless and the fallback is taken.
  Matrix4 up = lookAtGuarded({0, 1, 0}, {0, 1, 0}, {0, 0, 1});
  for (float value : up.m) EXPECT_TRUE(std::isfinite(value));
  expectVector(up.transformPoint({0, 1, 0}), {0, 0, -1});
}
