#include "colour/spectrum_to_rgb.h"

#include "colour/sampled_spectrum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace quillmere;

TEST(CieRgbTable, AgreesWithThePublishedRows) {
  const CieRgbRow reference[] = {
      {380, 0.0272f, -0.0115f, 0.9843f}, {435, 0.0012f, -0.0007f, 0.9995f}, {440, -0.0084f, 0.0048f, 1.0036f},
      {480, -0.3667f, 0.2906f, 1.0761f}, {505, -1.3182f, 1.7195f, 0.5987f}, {530, -0.5159f, 1.4761f, 0.0398f},
      {545, -0.0293f, 1.0282f, 0.0011f}, {580, 0.6449f, 0.3579f, -0.0028f}, {630, 0.9649f, 0.0354f, -0.0003f},
      {680, 0.9984f, 0.0016f, 0.0000f},  {700, 1, 0, 0}, {740, 1, 0, 0}, {780, 1, 0, 0}};
  for (const CieRgbRow& expected : reference) {
    const CieRgbRow& row = kCieRgbTable[int(expected.wavelengthNm - 380) / 5];
    EXPECT_EQ(row.wavelengthNm, expected.wavelengthNm);
    EXPECT_TRUE(row.r == expected.r && row.g == expected.g && row.b == expected.b) << row.wavelengthNm;
  }
  for (int k = 0; k < kCieRgbRowCount; ++k) {
    const CieRgbRow& row = kCieRgbTable[k];
    EXPECT_EQ(row.wavelengthNm, 380.0f + 5.0f * k);
    EXPECT_NEAR(double(row.r) + row.g + row.b, 1.0, 1e-6) << row.wavelengthNm; // four exact decimals
  }
}

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

TEST(SpectrumToRgb, ConstantSpectrumGivesTheColumnSums) {
  double sum[3] = {0, 0, 0};
  for (const CieRgbRow& row : kCieRgbTable) sum[0] += row.r, sum[1] += row.g, sum[2] += row.b;
  Vector3 rgb = spectrumToRgb(ConstantSpectrum(0.25f));
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(rgb[c], 5.0 * 0.25 * sum[c], 1e-4) << c; // float sums
  EXPECT_NEAR(rgb.x + rgb.y + rgb.z, 405.0f * 0.25f, 1e-3f); // every row sums to 1
  Vector3 black = spectrumToRgb(ConstantSpectrum());
  EXPECT_TRUE(black.x == 0 && black.y == 0 && black.z == 0);
}

TEST(SpectrumToRgb, SpectralColoursKeepTheirChromaticity) {
  // Light only from 700 nm up: pure R from 17 rows of r = 1.
  const float redNm[] = {700.0f, 780.0f}, ones[] = {1.0f, 1.0f};
  SampledSpectrum deepRed;
  deepRed.assign(2, redNm, ones);
  Vector3 rgb = spectrumToRgb(deepRed);
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
