#include "colour/spectrum_to_rgb.h"

#include "colour/sampled_spectrum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace quillmere;

TEST(CieRgbTable, AgreesWithTheCsv) {
  std::ifstream csv(QUILLMERE_CIE_RGB_CSV);
  ASSERT_TRUE(csv) << "chromaticity CSV not found at " << QUILLMERE_CIE_RGB_CSV;
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "wavelength_nm,r,g,b");
  int k = 0;
  for (float nm, r, g, b; std::getline(csv, line);) {
    ASSERT_EQ(std::sscanf(line.c_str(), "%f,%f,%f,%f", &nm, &r, &g, &b), 4) << line;
    ASSERT_LT(k, kCieRgbRowCount);
    const CieRgbRow& row = kCieRgbTable[k++];
    EXPECT_TRUE(row.wavelengthNm == nm && row.r == r && row.g == g && row.b == b) << line;
  }
  EXPECT_EQ(k, kCieRgbRowCount);
}

TEST(SpectrumToRgb, ConstantSpectrumGivesTheColumnSumsAndSpectralColoursTheirRows) {
  double sum[3] = {0, 0, 0};
  for (const CieRgbRow& row : kCieRgbTable) sum[0] += row.r, sum[1] += row.g, sum[2] += row.b;
  Vector3 rgb = spectrumToRgb(ConstantSpectrum(0.25f));
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(rgb[c], 5.0 * 0.25 * sum[c], 1e-4) << c; // float sums
  EXPECT_NEAR(rgb.x + rgb.y + rgb.z, 405.0f * 0.25f, 1e-3f); // every row sums to 1
  Vector3 black = spectrumToRgb(ConstantSpectrum());
  EXPECT_TRUE(black.x == 0 && black.y == 0 && black.z == 0);

  // Light only from 700 nm up: pure R from 17 rows of r = 1.
  const float redNm[] = {700.0f, 780.0f}, ones[] = {1.0f, 1.0f};
  SampledSpectrum deepRed;
  deepRed.assign(2, redNm, ones);
  rgb = spectrumToRgb(deepRed);
  EXPECT_TRUE(rgb.x == 85.0f && rgb.y == 0.0f && rgb.z == 0.0f) << rgb;
  // A unit line at 505 nm gives 5 × that row: negative R, sum 5.
  const float lineNm[] = {502.5f, 505.0f, 507.5f}, lineValues[] = {0.0f, 1.0f, 0.0f};
  SampledSpectrum line;
  line.assign(3, lineNm, lineValues);
  rgb = spectrumToRgb(line);
  EXPECT_FLOAT_EQ(rgb.x, 5.0f * -1.3182f);
  EXPECT_FLOAT_EQ(rgb.y, 5.0f * 1.7195f);
  EXPECT_FLOAT_EQ(rgb.z, 5.0f * 0.5987f);
}
