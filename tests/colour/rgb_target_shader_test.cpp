#include "colour/rgb_target_shader.h"

#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace quillmere;

TEST(RgbTargetShader, EqualsTheShaderOfAMaterialAimedAtTheVertexsTargets) {
  // A vertex with ambient target a and diffuse target d must look exactly
  // like a vertex of a whole-shape RGB material aimed at a and d (factors 1):
  // the RGB spectrum is linear in its target. Lights of black bodies and of
  // an RGB spectrum, the ambient light switched off in some scenes (it still
  // lights), Doppler factors 0.1..10 with the switch on; 1e-5 of the colour's
  // magnitude (float sums in another order).
  PlanckSpectrum sun(1.0f, 5762.0f), ember(0.05f, 2000.0f);
  RgbSpectrum cyan;
  cyan.setRGB(0.1f, 0.8f, 0.9f);
  const Spectrum* lightSpectra[] = {&sun, &ember, &cyan};
  const SpectralSampling sampling(40, 380.0f, 780.0f);
  const WavelengthMapping mapping;
  std::mt19937 random(86);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f), positive(0.0f, 1.0f);
  auto direction = [&]() {
    Vector3 v;
    do v = Vector3(unit(random), unit(random), unit(random));
    while (v.length() < 0.1f || v.length() > 1.0f);
    return v.normalized();
  };
  auto colour = [&]() { return Vector3(positive(random), positive(random), positive(random)); };

  for (int scene = 0; scene < 12; ++scene) {
    SpectralLight headlight, key;
    headlight.setDirection(0.0f, 0.0f, 1.0f);
    key.setDirection(direction());
    headlight.setIntensity(0.3f + positive(random));
    key.setIntensity(0.3f + positive(random));
    headlight.setSpectrum(lightSpectra[scene % 3]);
    key.setSpectrum(lightSpectra[(scene + 1) % 3]);
    headlight.setOn(scene % 2);
    key.setOn(1);
    LightList lights(8);
    lights.set(0, &headlight);
    lights.set(2, &key);
    for (bool doppler : {false, true}) {
      const WavelengthMapping* shift = doppler ? &mapping : nullptr;
      const RgbTargetShader shader(sampling, &lights, 20.0f, shift);
      for (int vertex = 0; vertex < 10; ++vertex) {
        const Vector3 ambientTarget = colour(), diffuseTarget = colour();
        RgbSpectrum ambient, diffuse;
        ambient.setRGB(ambientTarget);
        diffuse.setRGB(diffuseTarget);
        const RelMaterial material{&ambient, 1.0f, &diffuse, 1.0f, nullptr, 0.0f};
        const SpectralShader reference(sampling, LightingContext{&lights, &headlight, &material}, shift);
        const VertexRay ray{5.0f * direction(), direction()};
        const float d = doppler ? std::exp(std::log(0.1f) + positive(random) * std::log(100.0f)) : 1.0f;
        const Vector3 expected = reference.colourOf(ray, d);
        const Vector3 rgb = shader.colourOf(ray, d, ambientTarget, diffuseTarget);
        const float magnitude = std::max({1.0f, std::fabs(expected.x), std::fabs(expected.y), std::fabs(expected.z)});
        for (int c = 0; c < 3; ++c)
          ASSERT_NEAR(rgb[c], expected[c], 1e-5f * magnitude) << "scene " << scene << ", D " << d << ", channel " << c;
      }
    }
  }

  // Black targets and no lights are black.
  LightList none(8);
  const Vector3 black = RgbTargetShader(sampling, &none, 20.0f, nullptr).colourOf({{0, 0, 0}, {0, 0, 1}}, 1.0f,
                                                                                  {1, 1, 1}, {1, 1, 1});
  EXPECT_TRUE(black.x == 0.0f && black.y == 0.0f && black.z == 0.0f);
}
