#include "colour/planck_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmere;

// Planck's law up to a constant factor, double precision, λ in nm, with the
// system's values of h, c and k.
static double planckShape(double nm, double kelvin) {
  const double hcOverK = 6.6262e-34 * 299792458.0 / 1.38066e-23 * 1e9; // nm·K
  return 1.0 / (std::pow(nm, 5) * (std::exp(hcOverK / (nm * kelvin)) - 1.0));
}

TEST(PlanckSpectrum, PeaksAtStrengthAtWiensWavelengthAndFollowsPlancksLaw) {
  // Today's radiation constants, to the 3e-5 by which the system's h and k differ.
  EXPECT_NEAR(kPlanckC2 / 1.4387769e7, 1.0, 3e-5);  // hc/k, nm·K
  EXPECT_NEAR(kPlanckC1 / 1.1910430e29, 1.0, 3e-5); // 2hc², scaled to nm
  PlanckSpectrum spectrum; // s = 1, T = 5000 K
  EXPECT_NEAR(spectrum.evaluate(579.5512f), 1.0f, 1e-6f);
  for (float offset : {10.0f, 200.0f}) {
    EXPECT_LT(spectrum.evaluate(579.5512f - offset), 1.0f);
    EXPECT_LT(spectrum.evaluate(579.5512f + offset), 1.0f);
  }
  PlanckSpectrum sun(1.0f, 5762.0f);
  double peakNm = 2897756.0 / 5762.0;
  for (double nm = 200.0; nm <= 2000.0; nm += 50.0) {
    double expected = planckShape(nm, 5762.0) / planckShape(peakNm, 5762.0);
    EXPECT_NEAR(sun.evaluate(float(nm)), expected, 1e-6 * expected) << nm; // float result
  }
}

TEST(PlanckSpectrum, SetTemperatureRenormalisesToTheStrengthSetBefore) {
  PlanckSpectrum spectrum;
  spectrum.setStrength(0.01f);
  EXPECT_NEAR(spectrum.evaluate(579.5512f), 1.0f, 1e-6f); // the strength alone changes nothing
  spectrum.setTemperature(3000.0f);
  float peakNm = 2897756.0f / 3000.0f;
  EXPECT_NEAR(spectrum.evaluate(peakNm), 0.01f, 1e-8f);
  EXPECT_LT(spectrum.evaluate(peakNm - 50.0f), 0.01f);
  EXPECT_LT(spectrum.evaluate(peakNm + 50.0f), 0.01f);
}
