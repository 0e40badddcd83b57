// Lights, random inputs and colour comparisons shared by the colour and drawing tests.
#pragma once

#include "colour/spectral_light.h"
#include "relativity/vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace quillmere {

// A switched-on light of `spectrum` scaled by `intensity`, `towards` the light (normalised).
inline SpectralLight directionalLight(const Spectrum* spectrum, const Vector3& towards, float intensity = 1.0f) {
  SpectralLight light;
  light.setOn(1);
  light.setIntensity(intensity);
  light.setSpectrum(spectrum);
  light.setDirection(towards.x, towards.y, towards.z);
  return light;
}

// A unit vector drawn uniformly over the directions (rejection from the unit ball).
inline Vector3 randomDirection(std::mt19937& random) {
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  Vector3 v;
  do v = Vector3(unit(random), unit(random), unit(random));
  while (v.length() < 0.1f || v.length() > 1.0f);
  return v.normalized();
}

// Each channel within 1e-5 of the colour's magnitude (at least 1): float sums taken in another order.
inline void expectSameColour(const Vector3& actual, const Vector3& expected) {
  const float magnitude = std::max({1.0f, std::fabs(expected.x), std::fabs(expected.y), std::fabs(expected.z)});
  for (int c = 0; c < 3; ++c) ASSERT_NEAR(actual[c], expected[c], 1e-5f * magnitude) << "channel " << c;
}

} // namespace quillmere
