#include "colour/rgb_target_shader.h"

#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"

#include "colour_test_support.h"

#include <cmath>
#include <random>

using namespace quillmere;

TEST(RgbTargetShader, EqualsTheShaderOfAMaterialAimedAtTheVertexsTargets) {
  // The RGB spectrum is linear in its target, so a vertex aimed at targets a
  // and d looks like a whole-shape RGB material aimed at them (factors 1);
  // the ambient light switched off in some scenes (it still lights), D 0.1..10.
  PlanckSpectrum sun(1.0f, 5762.0f), ember(0.05f, 2000.0f);
  RgbSpectrum cyan;
  cyan.setRGB(0.1f, 0.8f, 0.9f);
  const Spectrum* lightSpectra[] = {&sun, &ember, &cyan};
  const SpectralSampling sampling(40, 380.0f, 780.0f);
  const WavelengthMapping mapping;
  std::mt19937 random(86);
  std::uniform_real_distribution<float> positive(0.0f, 1.0f);
  auto direction = [&]() { return randomDirection(random); };
  auto colour = [&]() { return Vector3(positive(random), positive(random), positive(random)); };

  for (int scene = 0; scene < 12; ++scene) {
    SpectralLight headlight = directionalLight(lightSpectra[scene % 3], {0, 0, 1}, 0.3f + positive(random));
    SpectralLight key = directionalLight(lightSpectra[(scene + 1) % 3], direction(), 0.3f + positive(random));
    headlight.setOn(scene % 2);
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
        SCOPED_TRACE(testing::Message() << "scene " << scene << ", D " << d);
        expectSameColour(shader.colourOf(ray, d, ambientTarget, diffuseTarget), expected);
      }
    }
  }

  // Black targets and no lights are black.
  LightList none(8);
  const Vector3 black = RgbTargetShader(sampling, &none, 20.0f, nullptr).colourOf({{0, 0, 0}, {0, 0, 1}}, 1.0f,
                                                                                  {1, 1, 1}, {1, 1, 1});
  EXPECT_TRUE(black.x == 0.0f && black.y == 0.0f && black.z == 0.0f);
}
