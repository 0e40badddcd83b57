#include "colour/spectrum_to_rgb.h"

#include "colour/sampled_spectrum.h"
#include "colour/spectrum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using namespace quillmere;

TEST(CieRgbTable, RowsAreFiveNanometresApartAndSumToOne) {
  for (int k = 0; k < kCieRgbRowCount; ++k) {
    const CieRgbRow& row = kCieRgbTable[k];
    EXPECT_EQ(row.wavelengthNm, 380.0f + 5.0f * k);
    EXPECT_NEAR(double(row.r) + row.g + row.b, 1.0, 1e-6) << row.wavelengthNm; // four exact decimals
  }
}

TEST(CieRgbTable, AgreesWithTheReferenceRows) {
  // The telling rows of the published table, including 440 nm as corrected.
  const CieRgbRow reference[] = {
      {380, 0.0272f, -0.0115f, 0.9843f}, {435, 0.0012f, -0.0007f, 0.9995f}, {440, -0.0084f, 0.0048f, 1.0036f},
      {480, -0.3667f, 0.2906f, 1.0761f}, {505, -1.3182f, 1.7195f, 0.5987f}, {530, -0.5159f, 1.4761f, 0.0398f},
      {545, -0.0293f, 1.0282f, 0.0011f}, {580, 0.6449f, 0.3579f, -0.0028f}, {630, 0.9649f, 0.0354f, -0.0003f},
      {680, 0.9984f, 0.0016f, 0.0000f},
  };
  for (const CieRgbRow& expected : reference) {
    const CieRgbRow& row = kCieRgbTable[int((expected.wavelengthNm - 380.0f) / 5.0f)];
    EXPECT_EQ(row.wavelengthNm, expected.wavelengthNm);
    EXPECT_EQ(row.r, expected.r) << expected.wavelengthNm;
    EXPECT_EQ(row.g, expected.g) << expected.wavelengthNm;
    EXPECT_EQ(row.b, expected.b) << expected.wavelengthNm;
  }
  for (int k = (700 - 380) / 5; k < kCieRgbRowCount; ++k) {
    EXPECT_EQ(kCieRgbTable[k].r, 1.0f);
    EXPECT_EQ(kCieRgbTable[k].g, 0.0f);
    EXPECT_EQ(kCieRgbTable[k].b, 0.0f);
  }
}

TEST(CieRgbTable, AgreesWithThePublishedCsv) {
  std::ifstream csv(QUILLMERE_CIE_RGB_CSV);
  if (!csv) GTEST_SKIP() << "reference table not found at " << QUILLMERE_CIE_RGB_CSV;
  std::string line;
  std::getline(csv, line); // header
  EXPECT_EQ(line, "wavelength_nm,r,g,b");
  int k = 0;
  while (std::getline(csv, line)) {
    if (line.empty()) continue;
    ASSERT_LT(k, kCieRgbRowCount) << "more rows in the CSV than in the table";
    float wavelength, r, g, b;
    ASSERT_EQ(std::sscanf(line.c_str(), "%f,%f,%f,%f", &wavelength, &r, &g, &b), 4) << line;
    EXPECT_EQ(kCieRgbTable[k].wavelengthNm, wavelength) << line;
    EXPECT_EQ(kCieRgbTable[k].r, r) << line;
    EXPECT_EQ(kCieRgbTable[k].g, g) << line;
    EXPECT_EQ(kCieRgbTable[k].b, b) << line;
    ++k;
  }
  EXPECT_EQ(k, kCieRgbRowCount);
}

TEST(SpectrumToRgb, ConstantSpectrumGivesTheColumnSums) {
  double sum[3] = {0, 0, 0};
  for (const CieRgbRow& row : kCieRgbTable) {
    sum[0] += row.r;
    sum[1] += row.g;
    sum[2] += row.b;
  }
  const float v = 0.25f;
  Vector3 rgb = spectrumToRgb(ConstantSpectrum(v));
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(rgb[c], 5.0 * v * sum[c], 1e-4) << c; // float accumulation
  // Every row sums to 1, so the channels add up to 81 rows × 5 nm × v.
  EXPECT_NEAR(rgb.x + rgb.y + rgb.z, 405.0f * v, 1e-3f);

  Vector3 black = spectrumToRgb(ConstantSpectrum());
  EXPECT_EQ(black.x, 0.0f);
  EXPECT_EQ(black.y, 0.0f);
  EXPECT_EQ(black.z, 0.0f);

  float r, g, b;
  spectrumToRgb(ConstantSpectrum(v), r, g, b);
  EXPECT_EQ(r, rgb.x);
  EXPECT_EQ(g, rgb.y);
  EXPECT_EQ(b, rgb.z);
}

TEST(SpectrumToRgb, SpectralColoursKeepTheirChromaticity) {
  // Light only from 700 nm upwards: pure R, 17 rows of r = 1.
  SampledSpectrum deepRed;
  const float redNm[] = {700.0f, 780.0f};
  const float ones[] = {1.0f, 1.0f};
  deepRed.assign(2, redNm, ones);
  Vector3 rgb = spectrumToRgb(deepRed);
  EXPECT_EQ(rgb.x, 85.0f);
  EXPECT_EQ(rgb.y, 0.0f);
  EXPECT_EQ(rgb.z, 0.0f);

  // A unit line at 505 nm touches one table row: 5 × its chromaticity, with
  // a negative R that only gamut mapping can show.
  SampledSpectrum line;
  const float lineNm[] = {502.5f, 505.0f, 507.5f};
  const float lineValues[] = {0.0f, 1.0f, 0.0f};
  line.assign(3, lineNm, lineValues);
  rgb = spectrumToRgb(line);
  EXPECT_FLOAT_EQ(rgb.x, 5.0f * -1.3182f);
  EXPECT_FLOAT_EQ(rgb.y, 5.0f * 1.7195f);
  EXPECT_FLOAT_EQ(rgb.z, 5.0f * 0.5987f);
  EXPECT_NEAR(rgb.x + rgb.y + rgb.z, 5.0f, 1e-5f);
}
