#include "colour/gamut_mapping.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace quillmere;

// Applies `method` and compares to within 1e-6 (float rounding of a few operations).
static void expectClip(int method, Vector3 colour, const Vector3& expected) {
  GamutMapping(method).clip(colour);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(colour[c], expected[c], 1e-6f) << "method " << method << ", channel " << c;
}

TEST(GamutMapping, EachMethodOnItsExamplesBlackAndComponentsThatAreNotFinite) {
  expectClip(0, {1.5f, -0.2f, 0.5f}, {1, 0, 0.5f});
  expectClip(1, {-0.5f, 0.5f, 1.5f}, {0, 0.5f, 1});
  expectClip(1, {0.2f, 0.4f, 0.1f}, {0.5f, 1, 0.25f}); // in range, yet scaled up
  expectClip(2, {-0.5f, 0.5f, 1.5f}, {0, 1, 1});
  expectClip(3, {-0.2f, 0.1f, 0.4f}, {0, 0.3f, 0.6f}); // in range after the shift
  // (0, 1.5, 0) after the shift: mean 0.5, chroma (−0.5, 1, −0.5); only the
  // green above 1 bounds the scale, at 0.4999/1.
  expectClip(3, {-0.5f, 1.0f, -0.5f}, {0.25005f, 0.9999f, 0.25005f});
  expectClip(4, {-0.5f, 0.5f, 2.0f}, {0, 0.25f, 1});
  expectClip(5, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f});
  expectClip(5, {2.0f, 0.5f, 0.5f}, {1, 1, 1});                           // mean 1
  expectClip(5, {1.2f, 0.3f, 0.3f}, {0.9999f, 0.40005f, 0.40005f});       // scale 0.3999/0.6
  expectClip(5, {-0.2f, 0.6f, 0.5f}, {0.0001f, 0.47994f, 0.41996f});     // scale 0.2999/0.5, mean kept
  expectClip(5, {-0.5f, 0.2f, 0.0f}, {0, 0, 0});                          // mean below 0.0001

  // Black stays black where normalising would divide by zero.
  for (int method = 0; method <= 5; ++method) expectClip(method, {0, 0, 0}, {0, 0, 0});
  expectClip(1, {-0.3f, -0.3f, -0.3f}, {0, 0, 0}); // black after the shift
  expectClip(4, {-0.3f, -1.0f, 0.0f}, {0, 0, 0});  // black after the cut

  // Components that are not finite count as no light.
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  expectClip(0, {nan, 0.5f, inf}, {0, 0.5f, 0});
  expectClip(1, {-inf, 0.5f, nan}, {0, 1, 0}); // no shift by −∞: only the 0.5 remains, scaled to 1
  expectClip(2, {nan, -0.5f, inf}, {0.5f, 0, 0.5f}); // the shift comes from −0.5 alone
  for (int method = 3; method <= 5; ++method) expectClip(method, {inf, 0.2f, nan}, {0, method == 4 ? 1 : 0.2f, 0});
}

TEST(GamutMapping, EveryMethodLandsInsideTheUnitCube) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> component(-3.0f, 5.0f);
  for (int method = 0; method <= 5; ++method) {
    for (int i = 0; i < 1000; ++i) {
      Vector3 colour(component(random), component(random), component(random));
      GamutMapping(method).clip(colour);
      for (int c = 0; c < 3; ++c) ASSERT_TRUE(colour[c] >= 0.0f && colour[c] <= 1.0f + 1e-6f) << method;
    }
  }
}
