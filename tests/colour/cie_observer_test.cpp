// The CIE 1931 observer and the sRGB and Bradford matrices against published
// values (CIE 015, IEC 61966-2-1, the Planckian locus, Lindbloom's Bradford
// matrix).
#include "colour/cie_observer.h"
#include "colour/planck_spectrum.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(CieObserver, IntegralsMatchThePublishedValues) {
  // The published integral of ȳ is 106.857; an equal-energy spectrum lies at
  // x = y = 1/3 (the 5 nm sums of x̄, ȳ, z̄ agree to 1e-4 relative).
  const Tristimulus equalEnergy = spectrumToXyz(ConstantSpectrum(1.0f));
  EXPECT_NEAR(equalEnergy[1], 106.857, 0.001);
  double x, y;
  chromaticity(equalEnergy, x, y);
  EXPECT_NEAR(x, 1.0 / 3.0, 1e-4);
  EXPECT_NEAR(y, 1.0 / 3.0, 1e-4);
}

TEST(CieObserver, BlackBodiesLieOnThePublishedPlanckianLocus) {
  struct Point {
    float kelvin;
    double x, y;
  };
  for (const Point& p : {Point{2000, 0.5267, 0.4133}, Point{3000, 0.4369, 0.4041}, Point{6500, 0.3135, 0.3236},
                         Point{10000, 0.2807, 0.2884}}) {
    double x, y;
    chromaticity(spectrumToXyz(PlanckSpectrum(1.0f, p.kelvin)), x, y);
    EXPECT_NEAR(x, p.x, 0.001) << p.kelvin << " K";
    EXPECT_NEAR(y, p.y, 0.001) << p.kelvin << " K";
  }
}

TEST(CieObserver, SrgbAndBradfordMatricesMatchPublishedValues) {
  // D65 white to linear sRGB (1, 1, 1), within 1/255.
  const Tristimulus white = kXyzToLinearSrgb * d65White();
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(white[i], 1.0, 1.0 / 255.0) << i;
  // Luminance row of the inverse: 0.2126, 0.7152, 0.0722 (IEC 61966-2-1).
  const ColourMatrix toXyz = linearSrgbToXyz();
  EXPECT_NEAR(toXyz.m[1][0], 0.2126, 2e-4);
  EXPECT_NEAR(toXyz.m[1][1], 0.7152, 2e-4);
  EXPECT_NEAR(toXyz.m[1][2], 0.0722, 2e-4);

  // Bradford D65 → D50 as published by B. Lindbloom (whites (0.95047, 1,
  // 1.08883) and (0.96422, 1, 0.82521)).
  const ColourMatrix bradford = bradfordAdaptation(Tristimulus{{0.95047, 1.0, 1.08883}},
                                                   Tristimulus{{0.96422, 1.0, 0.82521}});
  const double published[3][3] = {{1.0478112, 0.0228866, -0.0501270},
                                  {0.0295424, 0.9904844, -0.0170491},
                                  {-0.0092345, 0.0150436, 0.7521316}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(bradford.m[i][j], published[i][j], 2e-6) << i << ", " << j;
}

} // namespace
} // namespace quillmere
