#include "colour/spectral_shader.h"

#include "colour/gamut_mapping.h"
#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"
#include "colour/spectrum_to_rgb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace quillmere;

TEST(SpectralSampling, WeightsReproduceTheConversionOfASampledSpectrum) {
  // The conversion is linear in the samples, so the weighted sum must equal
  // spectrumToRgb of the sampled spectrum for any values, up to the float
  // rounding of sums taken in another order (1e-5 of Σ|terms|).
  SpectralSampling sampling(40, 380.0f, 780.0f);
  SampledSpectrum spectrum;
  spectrum.resample(40, 380.0f, 780.0f);
  ASSERT_EQ(sampling.count(), 40);
  EXPECT_EQ(sampling.wavelengths()[0], 380.0f);
  EXPECT_EQ(sampling.wavelengths()[39], 770.0f);
  // Samples at 10 nm, rows at 5 nm: the sample at 500 nm carries the row at
  // 500 nm fully and half of each neighbour row, 5 nm per row.
  const CieRgbRow& r495 = kCieRgbTable[23];
  const CieRgbRow& r500 = kCieRgbTable[24];
  const CieRgbRow& r505 = kCieRgbTable[25];
  EXPECT_NEAR(sampling.redWeights()[12], 5.0f * (0.5f * r495.r + r500.r + 0.5f * r505.r), 1e-5f);

  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(-1.0f, 3.0f);
  float values[40];
  for (int trial = 0; trial < 50; ++trial) {
    float magnitude = 0.0f;
    for (int k = 0; k < 40; ++k) {
      values[k] = value(random);
      spectrum.setValue(k, values[k]);
      magnitude += 5.0f * std::fabs(values[k]);
    }
    Vector3 expected = spectrumToRgb(spectrum), rgb = sampling.toRgb(values);
    for (int c = 0; c < 3; ++c) ASSERT_NEAR(rgb[c], expected[c], 1e-5f * magnitude) << trial << " " << c;
  }
}

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
  // Random lights, materials, vertices, normals and Doppler factors
  // 0.05..20, Doppler on and off. The shader sums the same products in
  // another order; the tolerance is float rounding of 40-term sums over
  // several terms: 1e-5 of the magnitude of the colour (at least 1), and
  // after the searchlight factor and the clip the bytes differ by less than
  // half a step of 1/255.
  SpectrumZoo zoo;
  const std::vector<const Spectrum*> spectra = zoo.all();
  const SpectralSampling sampling(40, 380.0f, 780.0f);
  SampledSpectrum observed;
  observed.resample(40, 380.0f, 780.0f);
  const WavelengthMapping mapping;
  const GamutMapping clamp;

  std::mt19937 random(1905);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f), positive(0.0f, 1.0f);
  auto pick = [&]() { return spectra[std::size_t(random() % spectra.size())]; };
  auto direction = [&]() {
    Vector3 v;
    do v = Vector3(unit(random), unit(random), unit(random));
    while (v.length() < 0.1f || v.length() > 1.0f);
    return v.normalized();
  };

  int compared = 0;
  for (int scene = 0; scene < 60; ++scene) {
    SpectralLight headlight, key, fill;
    headlight.setDirection(0.0f, 0.0f, 1.0f);
    key.setDirection(direction());
    fill.setDirection(direction());
    for (SpectralLight* light : {&headlight, &key, &fill}) {
      light->setOn(1);
      light->setIntensity(0.2f + positive(random));
      light->setSpectrum(pick());
    }
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
        const float magnitude = std::max({1.0f, std::fabs(expected.x), std::fabs(expected.y), std::fabs(expected.z)});
        for (int c = 0; c < 3; ++c)
          ASSERT_NEAR(rgb[c], expected[c], 1e-5f * magnitude) << "scene " << scene << ", D " << d << ", channel " << c;
        Vector3 shown = mapping.searchlightFactor(d) * rgb, reference = mapping.searchlightFactor(d) * expected;
        clamp.clip(shown);
        clamp.clip(reference);
        for (int c = 0; c < 3; ++c) ASSERT_NEAR(shown[c], reference[c], 0.5f / 255.0f) << "scene " << scene;
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

namespace {

// The spectra as the shading read them before the table and the batch
// exponential: Planck's formula in double precision, the Gaussians with
// std::exp, one wavelength at a time (Spectrum's own evaluateAscending).
struct FormulaPlanck : Spectrum {
  explicit FormulaPlanck(const PlanckSpectrum& planck) : planck(planck) {}
  float evaluate(float nm) const override { return planck.exactValue(nm); }
  const PlanckSpectrum& planck;
};
struct LibraryExpRgb : Spectrum {
  explicit LibraryExpRgb(const RgbSpectrum& rgb) : rgb(rgb) {}
  float evaluate(float nm) const override { return rgb.evaluate(nm); }
  const RgbSpectrum& rgb;
};

} // namespace

TEST(SpectralShader, ShowsTheColoursOfTheFormulaShadingToWithinOneStep) {
  // The loaded scene's lights (5762 K, the headlight as ambient light) on a
  // black-body and on an RGB material, Doppler and searchlight on, against
  // shadeVertex over the formula spectra: after D⁵ and the clip, every
  // channel within 1/255 (the table's 5e-5 and the exponential's 1e-6 are
  // far below it).
  PlanckSpectrum sun(1.0f, 5762.0f), emission(0.01f, 5760.0f);
  RgbSpectrum paint;
  paint.setRGB(0.7f, 0.4f, 0.2f);
  FormulaPlanck sunFormula(sun), emissionFormula(emission);
  LibraryExpRgb paintFormula(paint);
  ConstantSpectrum zero;
  const SpectralSampling sampling(40, 380.0f, 780.0f);
  SampledSpectrum observed;
  observed.resample(40, 380.0f, 780.0f);
  const WavelengthMapping mapping;
  const GamutMapping clamp;

  auto contextFor = [](LightList& lights, SpectralLight& headlight, const RelMaterial& material) {
    return LightingContext{&lights, &headlight, &material};
  };
  std::mt19937 random(2026);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f), positive(0.0f, 1.0f);
  int between = 0; // channels neither black nor clipped at 1: where a difference would show
  for (bool rgbMaterial : {false, true}) {
    SpectralLight headlight, light, headlightFormula, lightFormula;
    for (SpectralLight* l : {&headlight, &light, &headlightFormula, &lightFormula}) {
      l->setOn(1);
      l->setIntensity(1.0f);
    }
    headlight.setDirection(0, 0, 1), headlightFormula.setDirection(0, 0, 1);
    light.setDirection(0.3f, 0.5f, 0.8f), lightFormula.setDirection(0.3f, 0.5f, 0.8f);
    headlight.setSpectrum(&sun), light.setSpectrum(&sun);
    headlightFormula.setSpectrum(&sunFormula), lightFormula.setSpectrum(&sunFormula);
    LightList lights(8), lightsFormula(8);
    lights.set(0, &headlight), lights.set(1, &light);
    lightsFormula.set(0, &headlightFormula), lightsFormula.set(1, &lightFormula);
    RelMaterial material = rgbMaterial ? RelMaterial{&paint, 0.1f, &paint, 1.0f, nullptr, 0.0f}
                                       : RelMaterial{&zero, 0.0f, &emission, 1.0f, nullptr, 0.0f};
    RelMaterial materialFormula = rgbMaterial
                                      ? RelMaterial{&paintFormula, 0.1f, &paintFormula, 1.0f, nullptr, 0.0f}
                                      : RelMaterial{&zero, 0.0f, &emissionFormula, 1.0f, nullptr, 0.0f};
    const LightingContext context = contextFor(lights, headlight, material);
    const LightingContext formula = contextFor(lightsFormula, headlightFormula, materialFormula);
    const SpectralShader shader(sampling, context, &mapping);
    for (int vertex = 0; vertex < 2000; ++vertex) {
      Vector3 n(unit(random), unit(random), unit(random));
      if (n.length() < 0.1f) continue;
      VertexRay ray{{0, 0, 0}, n.normalized()};
      float d = float(std::exp(std::log(0.2) + positive(random) * std::log(25.0))); // 0.2..5
      shadeVertex(formula, ray, observed, d, &mapping);
      Vector3 expected = mapping.searchlightFactor(d) * spectrumToRgb(observed);
      Vector3 shown = mapping.searchlightFactor(d) * shader.colourOf(ray, d);
      clamp.clip(expected);
      clamp.clip(shown);
      for (int c = 0; c < 3; ++c) {
        ASSERT_NEAR(shown[c], expected[c], 1.0f / 255.0f) << "D " << d << ", channel " << c;
        between += expected[c] > 0.01f && expected[c] < 0.99f;
      }
    }
  }
  EXPECT_GT(between, 1000);
}
