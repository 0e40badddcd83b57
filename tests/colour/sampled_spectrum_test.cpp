#include "colour/sampled_spectrum.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillmere;

TEST(SampledSpectrum, ResampleSpacesSamplesBelowTheUpperBound) {
  SampledSpectrum spectrum;
  EXPECT_EQ(spectrum.count(), 0);
  EXPECT_EQ(spectrum.evaluate(500.0f), 0.0f); // empty

  spectrum.resample(40, 380.0f, 780.0f);
  ASSERT_EQ(spectrum.count(), 40);
  EXPECT_EQ(spectrum.wavelength(0), 380.0f);
  EXPECT_EQ(spectrum.wavelength(1), 390.0f);
  EXPECT_EQ(spectrum.wavelength(39), 770.0f);
  for (int k = 0; k < 40; ++k) EXPECT_EQ(spectrum.value(k), 0.0f);
  spectrum.setValue(39, 1.0f);
  EXPECT_EQ(spectrum.evaluate(775.0f), 0.0f); // beyond the last sample

  // Resampling throws the old values away.
  spectrum.resample(3, 400.0f, 700.0f);
  EXPECT_EQ(spectrum.count(), 3);
  EXPECT_EQ(spectrum.wavelength(2), 600.0f);
  EXPECT_EQ(spectrum.value(2), 0.0f);

  spectrum.resample(-4, 400.0f, 700.0f);
  EXPECT_EQ(spectrum.count(), 0);
}

TEST(SampledSpectrum, IndicesOutsideTheSamplesAreRefused) {
  SampledSpectrum spectrum;
  spectrum.resample(40, 380.0f, 780.0f);
  EXPECT_FALSE(spectrum.setValue(40, 5.0f));
  EXPECT_FALSE(spectrum.setValue(-1, 5.0f));
  EXPECT_TRUE(spectrum.setValue(0, 5.0f));
  EXPECT_EQ(spectrum.value(0), 5.0f);
  EXPECT_EQ(spectrum.value(40), 0.0f);
  EXPECT_EQ(spectrum.value(-1), 0.0f);
  EXPECT_EQ(spectrum.wavelength(40), 0.0f);
  EXPECT_EQ(spectrum.wavelength(-1), 0.0f);
  for (int k = 1; k < 40; ++k) EXPECT_EQ(spectrum.value(k), 0.0f);
}

TEST(SampledSpectrum, InterpolatesLinearlyWithTheEndsInside) {
  SampledSpectrum two;
  const float wavelengths[] = {400.0f, 500.0f};
  const float values[] = {1.0f, 3.0f};
  two.assign(2, wavelengths, values);
  EXPECT_EQ(two.evaluate(450.0f), 2.0f);
  EXPECT_EQ(two.evaluate(425.0f), 1.5f);
  EXPECT_EQ(two.evaluate(400.0f), 1.0f);
  EXPECT_EQ(two.evaluate(500.0f), 3.0f);
  EXPECT_EQ(two.evaluate(399.0f), 0.0f);
  EXPECT_EQ(two.evaluate(501.0f), 0.0f);

  // A straight line is reproduced anywhere inside many uneven samples, which
  // checks that the bisection finds the right interval.
  const float unevenNm[] = {380, 381, 395, 420, 421, 500, 610, 611, 700, 780};
  float line[10];
  for (int k = 0; k < 10; ++k) line[k] = 2.0f * unevenNm[k] - 300.0f;
  SampledSpectrum many;
  many.assign(10, unevenNm, line);
  for (float lambda = 380.0f; lambda <= 780.0f; lambda += 2.5f)
    EXPECT_NEAR(many.evaluate(lambda), 2.0f * lambda - 300.0f, 1e-3f) << lambda; // float rounding

  // A single sample is a spectral line: its value at its wavelength, 0 elsewhere.
  SampledSpectrum one;
  one.assign(1, wavelengths, values);
  EXPECT_EQ(one.evaluate(400.0f), 1.0f);
  EXPECT_EQ(one.evaluate(400.5f), 0.0f);
}

TEST(SampledSpectrum, AscendingEvaluationGivesThePointwiseValues) {
  // Uneven samples, queries that hit samples exactly, fall between them and
  // lie outside on both sides: the walk must pick the bisection's interval,
  // so the values agree bit for bit.
  const float samplesNm[] = {400, 401, 430, 430.5f, 500, 640, 700};
  const float values[] = {0.3f, 1.7f, -0.2f, 0.9f, 2.5f, 0.1f, 1.3f};
  std::vector<float> queriesNm;
  for (float lambda = 380.0f; lambda <= 720.0f; lambda += 0.5f) queriesNm.push_back(lambda);
  std::vector<float> batch(queriesNm.size());
  for (int n : {0, 1, 2, 7}) {
    SCOPED_TRACE(n);
    SampledSpectrum spectrum;
    spectrum.assign(n, samplesNm, values);
    spectrum.evaluateAscending(queriesNm.data(), int(queriesNm.size()), batch.data());
    for (size_t i = 0; i < queriesNm.size(); ++i) EXPECT_EQ(batch[i], spectrum.evaluate(queriesNm[i])) << queriesNm[i];
  }
}
