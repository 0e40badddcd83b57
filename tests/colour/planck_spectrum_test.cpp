#include "colour/planck_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace quillmere;

// Planck's law up to a constant factor, double precision, λ in nm, with the
// system's values of h, c and k.
static double planckShape(double nm, double kelvin) {
  const double hcOverK = 6.6262e-34 * 299792458.0 / 1.38066e-23 * 1e9; // nm·K
  return 1.0 / (std::pow(nm, 5) * (std::exp(hcOverK / (nm * kelvin)) - 1.0));
}

TEST(PlanckSpectrum, PeaksAtStrengthAtWiensWavelengthAndFollowsPlancksLawOverEveryReachableWavelength) {
  // Today's radiation constants, to the 3e-5 by which the system's h and k differ.
  EXPECT_NEAR(kPlanckC2 / 1.4387769e7, 1.0, 3e-5);  // hc/k, nm·K
  EXPECT_NEAR(kPlanckC1 / 1.1910430e29, 1.0, 3e-5); // 2hc², scaled to nm
  // The formula to float rounding; evaluate reads the table, to 1e-4.
  PlanckSpectrum spectrum; // s = 1, T = 5000 K
  EXPECT_NEAR(spectrum.exactValue(579.5512f), 1.0f, 1e-6f);
  EXPECT_NEAR(spectrum.evaluate(579.5512f), 1.0f, 1e-4f);
  for (float offset : {10.0f, 200.0f}) {
    EXPECT_LT(spectrum.evaluate(579.5512f - offset), 1.0f);
    EXPECT_LT(spectrum.evaluate(579.5512f + offset), 1.0f);
  }
  PlanckSpectrum sun(1.0f, 5762.0f);
  double peakNm = 2897756.0 / 5762.0;
  for (double nm = 200.0; nm <= 2000.0; nm += 50.0) {
    double expected = planckShape(nm, 5762.0) / planckShape(peakNm, 5762.0);
    EXPECT_NEAR(sun.exactValue(float(nm)), expected, 1e-6 * expected) << nm; // float result
    EXPECT_NEAR(sun.evaluate(float(nm)), expected, 1e-4 * expected) << nm;
  }

  // Observed 380..780 nm emitted at λ·D with Doppler factors 0.05..20: the
  // spectra are asked for 19..15600 nm. Temperatures 100 K..10⁶ K cover
  // λT from 1.9e3 nm·K (deep in Wien's tail, past the table) to 1.6e10.
  std::vector<float> nm;
  for (int i = 0; i <= 600; ++i) nm.push_back(float(19.0 * std::pow(15600.0 / 19.0, i / 600.0)));
  std::vector<float> batch(nm.size());
  for (int step = 0; step <= 40; ++step) {
    float kelvin = float(100.0 * std::pow(1e4, step / 40.0));
    PlanckSpectrum spectrum(0.01f, kelvin);
    spectrum.evaluateAscending(nm.data(), int(nm.size()), batch.data());
    double peakNm = kWienConstantNmK / kelvin;
    for (std::size_t i = 0; i < nm.size(); ++i) {
      double formula = 0.01 * planckShape(nm[i], kelvin) / planckShape(float(peakNm), kelvin);
      float exact = spectrum.exactValue(nm[i]);
      ASSERT_NEAR(exact, formula, 1e-6 * formula + 1e-44) << kelvin << " K, " << nm[i] << " nm";
      ASSERT_NEAR(batch[i], exact, 1e-4 * exact) << kelvin << " K, " << nm[i] << " nm";
      ASSERT_EQ(spectrum.evaluate(nm[i]), batch[i]) << kelvin << " K, " << nm[i] << " nm";
    }
  }
}
