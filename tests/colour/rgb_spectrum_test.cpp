#include "colour/rgb_spectrum.h"

#include "colour/spectrum_to_rgb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace quillmere;

// Round trips are exact up to float rounding of 81-term sums and of the
// inverted response: 1e-4 per channel.
static void expectConvertsTo(const RgbSpectrum& spectrum, const Vector3& target) {
  Vector3 rgb = spectrumToRgb(spectrum);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(rgb[c], target[c], 1e-4f) << "channel " << c;
}

TEST(RgbSpectrum, ReproducesItsTargetIncludingSaturatedColours) {
  RgbSpectrum spectrum;
  EXPECT_EQ(spectrum.target().x, 0.8f);
  expectConvertsTo(spectrum, {0.8f, 0.8f, 0.8f});
  for (Vector3 target : {Vector3(0.2f, 0.5f, 0.7f), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                         Vector3(0, 0, 0)}) {
    SCOPED_TRACE(testing::Message() << target);
    spectrum.setRGB(target);
    expectConvertsTo(spectrum, target);
  }
  // The red Gaussian leaks a little green (g > 0 up to 695 nm in the table),
  // which only a negative green weight cancels for pure red.
  spectrum.setRGB(1.0f, 0.0f, 0.0f);
  EXPECT_LT(spectrum.weights().y, 0.0f);
  EXPECT_LT(spectrum.evaluate(545.0f), 0.0f);
  // Another width is calibrated again for the stored target.
  spectrum.setRGB(0.3f, 0.6f, 0.1f);
  for (float sigma : {10.0f, 40.0f}) {
    spectrum.setWidth(sigma);
    expectConvertsTo(spectrum, {0.3f, 0.6f, 0.1f});
  }
}

TEST(RgbSpectrum, BatchEvaluationMatchesTheLibraryExponential) {
  // The batch's own exponential against std::exp over every wavelength a shifted evaluation
  // asks for, saturated targets (negative weights) too; error against Σ|w_i|.
  std::vector<float> nm;
  for (float lambda = 19.0f; lambda < 15600.0f; lambda *= 1.003f) nm.push_back(lambda);
  std::vector<float> batch(nm.size());
  RgbSpectrum spectrum;
  for (float sigma : {5.0f, 20.0f, 60.0f})
    for (Vector3 target : {Vector3(0.8f, 0.8f, 0.8f), Vector3(1, 0, 0), Vector3(0.1f, 0.9f, 0.3f)}) {
      spectrum.setWidth(sigma);
      spectrum.setRGB(target);
      const Vector3& w = spectrum.weights();
      const float scale = std::fabs(w.x) + std::fabs(w.y) + std::fabs(w.z);
      spectrum.evaluateAscending(nm.data(), int(nm.size()), batch.data());
      for (std::size_t i = 0; i < nm.size(); ++i)
        ASSERT_NEAR(batch[i], spectrum.evaluate(nm[i]), 1e-6f * scale) << sigma << " nm, " << nm[i] << " nm";
    }
}

// The width is each Gaussian's standard deviation σ: e^(−1/2) one σ from its centre, e^(−2)
// two σ away (the normal curve's definition). Tolerance 1e-5: the float exponential.
TEST(RgbSpectrumWidth, EachGaussianFallsToEToTheMinusHalfOneSigmaFromItsCentre) {
  RgbSpectrum spectrum; // σ = 20 nm unless set
  for (float sigma : {20.0f, 10.0f, 35.0f}) {
    if (sigma != 20.0f) spectrum.setWidth(sigma);
    for (int g = 0; g < 3; ++g) {
      const float centre = spectrum.centres()[g];
      const float nm[5] = {centre - 2 * sigma, centre - sigma, centre, centre + sigma, centre + 2 * sigma};
      float each[3][5];
      spectrum.evaluateEachGaussian(nm, 5, each[0], each[1], each[2]);
      const float expected[5] = {std::exp(-2.0f), std::exp(-0.5f), 1.0f, std::exp(-0.5f), std::exp(-2.0f)};
      for (int i = 0; i < 5; ++i) EXPECT_NEAR(each[g][i], expected[i], 1e-5f) << "σ " << sigma << ", " << nm[i] << " nm";
    }
  }
}
