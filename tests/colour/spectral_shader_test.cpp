#include "colour/spectral_shader.h"

#include "colour/gamut_mapping.h"
#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"
#include "colour/spectrum_to_rgb.h"

#include "colour_test_support.h"

#include <cmath>
#include <random>

using namespace quillmere;

namespace {

// Every kind of spectrum as light and as reflectance.
struct SpectrumZoo {
  PlanckSpectrum sun{1.0f, 5762.0f}, hot{0.01f, 12000.0f}, ember{0.02f, 1500.0f};
  RgbSpectrum grey, orange, saturated;
  ConstantSpectrum half{0.5f}, zero{0.0f};
  SampledSpectrum ramp; // 300..900 nm, zero outside

  SpectrumZoo() {
    orange.setRGB(0.9f, 0.5f, 0.1f);
    saturated.setWidth(30.0f);
    saturated.setRGB(0.0f, 0.0f, 1.0f);
    const float nm[] = {300.0f, 450.0f, 520.0f, 610.0f, 900.0f};
    const float values[] = {0.1f, 0.9f, 0.2f, 0.7f, 0.3f};
    ramp.assign(5, nm, values);
  }
  std::vector<const Spectrum*> all() const { return {&sun, &hot, &ember, &grey, &orange, &saturated, &half, &ramp}; }
};

} // namespace

TEST(SpectralShader, EqualsShadeVertexAndConversionForEveryKindOfSpectrum) {
  // Random lights, materials, vertices, normals and Doppler factors 0.05..20;
  // after the searchlight factor and the clip the bytes differ by less than half a step.
  SpectrumZoo zoo;
  const std::vector<const Spectrum*> spectra = zoo.all();
  const SpectralSampling sampling(40, 380.0f, 780.0f);
  SampledSpectrum observed;
  observed.resample(40, 380.0f, 780.0f);
  const WavelengthMapping mapping;
  const GamutMapping clamp;

  std::mt19937 random(1905);
  std::uniform_real_distribution<float> positive(0.0f, 1.0f);
  auto pick = [&]() { return spectra[std::size_t(random() % spectra.size())]; };
  auto direction = [&]() { return randomDirection(random); };

  int compared = 0;
  for (int scene = 0; scene < 60; ++scene) {
    SpectralLight headlight = directionalLight(pick(), {0, 0, 1}, 0.2f + positive(random));
    SpectralLight key = directionalLight(pick(), direction(), 0.2f + positive(random));
    SpectralLight fill = directionalLight(pick(), direction(), 0.2f + positive(random));
    headlight.setOn(scene % 3 != 0); // off, it still serves as the ambient light
    if (scene % 4 == 1) fill.setSpectrum(key.spectrum()); // a spectrum shared by two lights
    LightList lights(8);
    lights.set(0, &headlight);
    lights.set(1, &key);
    lights.set(3, &fill);
    const Spectrum* ambient = pick();
    RelMaterial material{ambient, scene % 5 == 0 ? 0.0f : 0.3f, scene % 6 == 2 ? ambient : pick(), 0.8f, nullptr,
                         0.0f};
    LightingContext context{&lights, &headlight, &material};
    for (bool doppler : {false, true}) {
      const SpectralShader shader(sampling, context, doppler ? &mapping : nullptr);
      for (int vertex = 0; vertex < 40; ++vertex) {
        VertexRay ray{10.0f * direction(), direction()};
        float d = doppler ? float(std::exp(std::log(0.05) + positive(random) * std::log(400.0))) : 1.0f;
        shadeVertex(context, ray, observed, d, doppler ? &mapping : nullptr);
        const Vector3 expected = spectrumToRgb(observed);
        const Vector3 rgb = shader.colourOf(ray, d);
        SCOPED_TRACE(testing::Message() << "scene " << scene << ", D " << d);
        expectSameColour(rgb, expected);
        Vector3 shown = mapping.searchlightFactor(d) * rgb, reference = mapping.searchlightFactor(d) * expected;
        clamp.clip(shown);
        clamp.clip(reference);
        for (int c = 0; c < 3; ++c) ASSERT_NEAR(shown[c], reference[c], 0.5f / 255.0f);
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 60 * 2 * 40);

  // Nothing to shade with: black, with or without Doppler.
  LightingContext empty;
  for (const WavelengthMapping* doppler : {static_cast<const WavelengthMapping*>(nullptr), &mapping}) {
    const Vector3 black = SpectralShader(sampling, empty, doppler).colourOf({{0, 0, 0}, {0, 0, 1}}, 2.0f);
    EXPECT_TRUE(black.x == 0.0f && black.y == 0.0f && black.z == 0.0f);
  }
}
