#include "colour/rgb_spectrum.h"

#include "colour/spectrum_to_rgb.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmere;

namespace {

// Conversion round trips are exact up to float rounding of 81-term sums and
// of the inverted 3×3 response.
constexpr float kRoundTripTolerance = 1e-4f;

void expectConvertsTo(const RgbSpectrum& spectrum, const Vector3& target) {
  Vector3 rgb = spectrumToRgb(spectrum);
  EXPECT_NEAR(rgb.x, target.x, kRoundTripTolerance);
  EXPECT_NEAR(rgb.y, target.y, kRoundTripTolerance);
  EXPECT_NEAR(rgb.z, target.z, kRoundTripTolerance);
}

} // namespace

TEST(RgbSpectrum, DefaultIsLightGreyThatConvertsBack) {
  RgbSpectrum spectrum;
  EXPECT_EQ(spectrum.target().x, 0.8f);
  EXPECT_EQ(spectrum.target().y, 0.8f);
  EXPECT_EQ(spectrum.target().z, 0.8f);
  expectConvertsTo(spectrum, {0.8f, 0.8f, 0.8f});
  // Three bumps: the spectrum peaks near the Gaussians' centres.
  EXPECT_GT(spectrum.evaluate(700.0f), spectrum.evaluate(620.0f));
  EXPECT_GT(spectrum.evaluate(545.0f), spectrum.evaluate(490.0f));
  EXPECT_GT(spectrum.evaluate(435.0f), spectrum.evaluate(490.0f));
}

TEST(RgbSpectrum, ReproducesItsTargetIncludingSaturatedColours) {
  RgbSpectrum spectrum;
  const Vector3 targets[] = {{0.2f, 0.5f, 0.7f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.9f, 0.1f, 0.05f},
                             {0, 0, 0},          {1, 1, 1}};
  for (const Vector3& target : targets) {
    SCOPED_TRACE(testing::Message() << target);
    spectrum.setRGB(target);
    expectConvertsTo(spectrum, target);
  }

  // The red Gaussian leaks a little green (g > 0 up to 695 nm in the table),
  // which only a negative green weight can cancel for pure red.
  spectrum.setRGB(1.0f, 0.0f, 0.0f);
  EXPECT_GT(spectrum.weights().x, 0.0f);
  EXPECT_LT(spectrum.weights().y, 0.0f);
  EXPECT_LT(spectrum.evaluate(545.0f), 0.0f);
}

TEST(RgbSpectrum, SetWidthRecalibratesForTheStoredTarget) {
  RgbSpectrum spectrum;
  spectrum.setRGB(0.3f, 0.6f, 0.1f);
  Vector3 narrowWeights;
  for (float sigma : {10.0f, 40.0f}) {
    SCOPED_TRACE(sigma);
    spectrum.setWidth(sigma);
    expectConvertsTo(spectrum, {0.3f, 0.6f, 0.1f});
    if (sigma == 10.0f) narrowWeights = spectrum.weights();
  }
  // Narrower Gaussians carry less energy and need larger weights.
  EXPECT_GT(narrowWeights.x, spectrum.weights().x);
  // One σ from a lone peak the curve has fallen to e^(−1/2) of it.
  spectrum.setWidth(5.0f);
  spectrum.setRGB(1.0f, 0.0f, 0.0f);
  float peak = spectrum.evaluate(700.0f);
  EXPECT_NEAR(spectrum.evaluate(705.0f) / peak, std::exp(-0.5f), 1e-4f);
}
