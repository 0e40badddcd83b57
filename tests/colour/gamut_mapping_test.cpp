#include "colour/gamut_mapping.h"

#include <gtest/gtest.h>

#include <random>
#include <unistd.h>

using namespace quillmere;

namespace {

constexpr float kTolerance = 1e-6f; // float rounding of a few operations

Vector3 clipped(int method, Vector3 colour) {
  GamutMapping mapping(method);
  return mapping.clip(colour);
}

void expectColour(const Vector3& actual, const Vector3& expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
  EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

} // namespace

TEST(GamutMapping, ClampAndShiftMethods) {
  EXPECT_EQ(GamutMapping().method(), 0);
  expectColour(clipped(0, {1.5f, -0.2f, 0.5f}), {1, 0, 0.5f});
  expectColour(clipped(2, {-0.5f, 0.5f, 1.5f}), {0, 1, 1});
  expectColour(clipped(2, {0.2f, 0.4f, 0.1f}), {0.2f, 0.4f, 0.1f}); // nothing negative: no shift
  // Method 3 shifts into range, which method 5 then leaves alone.
  expectColour(clipped(3, {-0.2f, 0.1f, 0.4f}), {0, 0.3f, 0.6f});
  // Here the shift leaves green above 1 and the desaturation takes over:
  // (0, 1.5, 0) has mean 0.5 and chroma (−0.5, 1, −0.5); only green (above 1)
  // bounds the scale, at (0.9999 − 0.5)/1.
  expectColour(clipped(3, {-0.5f, 1.0f, -0.5f}), {0.25005f, 0.9999f, 0.25005f});

  // clip works in place and hands back the same colour.
  GamutMapping mapping;
  Vector3 colour(2.0f, 0.5f, -1.0f);
  Vector3& result = mapping.clip(colour);
  EXPECT_EQ(&result, &colour);
  expectColour(colour, {1, 0.5f, 0});
}

TEST(GamutMapping, NormalisingMethodsScaleToTheLargestComponent) {
  expectColour(clipped(1, {-0.5f, 0.5f, 1.5f}), {0, 0.5f, 1});
  expectColour(clipped(1, {0.2f, 0.4f, 0.1f}), {0.5f, 1, 0.25f}); // in range, yet scaled up
  expectColour(clipped(4, {-0.5f, 0.5f, 2.0f}), {0, 0.25f, 1});
  expectColour(clipped(4, {0.2f, 0.4f, 0.1f}), {0.5f, 1, 0.25f});
}

TEST(GamutMapping, BlackStaysBlackWhereNormalisingWouldDivideByZero) {
  for (int method = 0; method <= 5; ++method) {
    SCOPED_TRACE(method);
    expectColour(clipped(method, {0, 0, 0}), {0, 0, 0});
  }
  // Black after the shift (all equal and negative) and after the cut.
  expectColour(clipped(1, {-0.3f, -0.3f, -0.3f}), {0, 0, 0});
  expectColour(clipped(4, {-0.3f, -1.0f, 0.0f}), {0, 0, 0});
}

TEST(GamutMapping, DesaturationKeepsTheMean) {
  expectColour(clipped(5, {0.5f, 0.5f, 0.5f}), {0.5f, 0.5f, 0.5f});
  expectColour(clipped(5, {2.0f, 0.5f, 0.5f}), {1, 1, 1}); // mean 1
  expectColour(clipped(5, {-0.5f, 0.2f, 0.0f}), {0, 0, 0}); // mean below 0.0001
  // Mean 0.6, chroma (0.6, −0.3, −0.3), scale 0.3999/0.6.
  expectColour(clipped(5, {1.2f, 0.3f, 0.3f}), {0.9999f, 0.40005f, 0.40005f});
  // Mean 0.3, chroma (−0.5, 0.3, 0.2): the negative red sets the bound 0.2999/0.5.
  Vector3 colour = clipped(5, {-0.2f, 0.6f, 0.5f});
  expectColour(colour, {0.0001f, 0.47994f, 0.41996f});
  EXPECT_NEAR(colour.x + colour.y + colour.z, 0.9f, kTolerance);
}

TEST(GamutMapping, EveryMethodLandsInsideTheUnitCube) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> component(-3.0f, 5.0f);
  for (int method = 0; method <= 5; ++method) {
    GamutMapping mapping(method);
    for (int i = 0; i < 1000; ++i) {
      Vector3 colour(component(random), component(random), component(random));
      mapping.clip(colour);
      for (int c = 0; c < 3; ++c) {
        EXPECT_GE(colour[c], 0.0f) << method;
        EXPECT_LE(colour[c], 1.0f + kTolerance) << method;
      }
    }
  }
}

TEST(GamutMappingDeathTest, UnknownMethodIsFatal) {
  for (int method : {6, -1}) {
    Vector3 colour(0.5f, 0.5f, 0.5f);
    GamutMapping mapping(method);
    // The printer writes to standard output; send it where the test can see it.
    EXPECT_EXIT(
        {
          dup2(STDERR_FILENO, STDOUT_FILENO);
          mapping.clip(colour);
        },
        testing::ExitedWithCode(1), "GamutMapping::clip\\(\\): Unknown method\n");
  }
}
