#include "colour/planck_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmere;

namespace {

// Planck's law B(λ, T) ∝ 1/(λ⁵·(exp(hc/(λkT)) − 1)), in double precision, λ in nm.
double planckShape(double wavelengthNm, double temperatureK) {
  const double hcOverK = 6.6262e-34 * 299792458.0 / 1.38066e-23 * 1e9; // nm·K
  return 1.0 / (std::pow(wavelengthNm, 5) * (std::exp(hcOverK / (wavelengthNm * temperatureK)) - 1.0));
}

} // namespace

TEST(PlanckSpectrum, RadiationConstantsMatchTheirPhysicalValues) {
  // Second radiation constant hc/k = 1.4388e-2 m·K; 2hc² = 1.1911e-16 W·m².
  EXPECT_NEAR(kPlanckC2, 1.4388e7, 1e3);         // nm·K, 1e-4 relative
  EXPECT_NEAR(kPlanckC1 / 1e29, 1.1911, 1e-3);   // 1e-3 relative
}

TEST(PlanckSpectrum, PeaksAtStrengthAtWiensWavelength) {
  PlanckSpectrum spectrum; // s = 1, T = 5000 K
  EXPECT_EQ(spectrum.strength(), 1.0f);
  EXPECT_EQ(spectrum.temperature(), 5000.0f);
  EXPECT_NEAR(spectrum.evaluate(579.5512f), 1.0f, 1e-6f);
  // Smaller on both sides, near and far.
  for (float offset : {10.0f, 100.0f, 200.0f}) {
    EXPECT_LT(spectrum.evaluate(579.5512f - offset), 1.0f) << offset;
    EXPECT_LT(spectrum.evaluate(579.5512f + offset), 1.0f) << offset;
  }
}

TEST(PlanckSpectrum, FollowsPlancksLawAtEveryWavelength) {
  PlanckSpectrum spectrum(1.0f, 5762.0f);
  double peak = 2897756.0 / 5762.0;
  for (double lambda = 200.0; lambda <= 2000.0; lambda += 50.0) {
    double expected = planckShape(lambda, 5762.0) / planckShape(peak, 5762.0);
    EXPECT_NEAR(spectrum.evaluate(float(lambda)), expected, 1e-5 * expected) << lambda; // float rounding
  }
}

TEST(PlanckSpectrum, SetTemperatureRenormalisesToTheCurrentStrength) {
  PlanckSpectrum spectrum;
  spectrum.setStrength(0.01f);
  // The strength alone does not renormalise: the old peak value stays.
  EXPECT_NEAR(spectrum.evaluate(579.5512f), 1.0f, 1e-6f);

  spectrum.setTemperature(3000.0f);
  float peakNm = 2897756.0f / 3000.0f; // 965.9 nm, in the infrared
  EXPECT_NEAR(spectrum.evaluate(peakNm), 0.01f, 1e-8f);
  EXPECT_LT(spectrum.evaluate(peakNm - 50.0f), 0.01f);
  EXPECT_LT(spectrum.evaluate(peakNm + 50.0f), 0.01f);

  // A hotter body is bluer: blue over red grows with the temperature.
  PlanckSpectrum hot(1.0f, 10000.0f);
  EXPECT_GT(hot.evaluate(450.0f) / hot.evaluate(650.0f), spectrum.evaluate(450.0f) / spectrum.evaluate(650.0f));
  EXPECT_GT(hot.evaluate(450.0f), hot.evaluate(650.0f));
}
