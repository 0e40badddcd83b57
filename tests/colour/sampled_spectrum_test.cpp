#include "colour/sampled_spectrum.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillmere;

TEST(SampledSpectrum, InterpolatesLinearlyWithTheEndsInsideAmongUnevenSamples) {
  const float wavelengths[] = {400.0f, 500.0f}, values[] = {1.0f, 3.0f};
  SampledSpectrum two, one;
  two.assign(2, wavelengths, values);
  EXPECT_EQ(two.evaluate(450.0f), 2.0f);
  EXPECT_EQ(two.evaluate(500.0f), 3.0f);
  EXPECT_EQ(two.evaluate(400.0f), 1.0f);
  EXPECT_EQ(two.evaluate(399.0f), 0.0f);
  EXPECT_EQ(two.evaluate(501.0f), 0.0f);
  one.assign(1, wavelengths, values); // a spectral line
  EXPECT_EQ(one.evaluate(400.0f), 1.0f);
  EXPECT_EQ(one.evaluate(400.5f), 0.0f);

  // A straight line through uneven samples is reproduced everywhere inside.
  // The ascending walk must give the bisection's values bit for bit, which
  // for irregular values needs the same interval when a query hits a sample.
  const float nm[] = {380, 381, 395, 420, 420.5f, 500, 610, 611, 700, 780};
  const float irregular[] = {0.3f, 1.7f, -0.2f, 0.9f, 2.5f, 0.1f, 1.3f, 0.7f, 3.1f, 0.2f};
  float line[10];
  for (int k = 0; k < 10; ++k) line[k] = 2.0f * nm[k] - 300.0f;
  std::vector<float> queries, batch;
  for (float lambda = 370.0f; lambda <= 790.0f; lambda += 0.5f) queries.push_back(lambda);
  batch.resize(queries.size());
  for (const float* values : {static_cast<const float*>(line), irregular}) {
    for (int n : {0, 1, 2, 10}) {
      SampledSpectrum spectrum;
      spectrum.assign(n, nm, values);
      spectrum.evaluateAscending(queries.data(), int(queries.size()), batch.data());
      for (size_t i = 0; i < queries.size(); ++i) ASSERT_EQ(batch[i], spectrum.evaluate(queries[i])) << n;
    }
  }
  SampledSpectrum spectrum;
  spectrum.assign(10, nm, line);
  for (float lambda = 380.0f; lambda <= 780.0f; lambda += 0.5f)
    EXPECT_NEAR(spectrum.evaluate(lambda), 2.0f * lambda - 300.0f, 1e-3f) << lambda; // float rounding
}
