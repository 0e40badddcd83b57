#include "colour/rgb_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmere;

// The width set is the standard deviation σ of each Gaussian: one σ from its
// centre a unit Gaussian is e^(−1/2), two σ away e^(−2) (the definition of
// the normal curve). Tolerance 1e-5: the float exponential.
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
