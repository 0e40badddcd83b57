#include "colour/spectral_shading.h"

#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace quillmere;

namespace {

// Value 1, recording the range of wavelengths it is evaluated at.
struct WavelengthProbe : Spectrum {
  float evaluate(float nm) const override {
    lowestNm = std::min(lowestNm, nm), highestNm = std::max(highestNm, nm);
    return 1.0f;
  }
  mutable float lowestNm = 1e30f, highestNm = -1e30f;
};

// The value at λ is λ, so a sample shows where it was evaluated.
struct IdentitySpectrum : Spectrum {
  float evaluate(float nm) const override { return nm; }
};

// Constant spectra keep the sums checkable by hand: the ambient term is
// I_a·k_a·L·R_a = 2·0.1·3·0.5 = 0.3, the diffuse term per unit cosine
// I·k_d·L·R_d = 2·0.4·3·0.7 = 1.68.
struct Scene {
  ConstantSpectrum lightSpectrum{3.0f}, ambientReflectance{0.5f}, diffuseReflectance{0.7f};
  RelMaterial material{&ambientReflectance, 0.1f, &diffuseReflectance, 0.4f, nullptr, 0.0f};
  SpectralLight headlight;
  LightList lights{8};
  LightingContext context{&lights, &headlight, &material};
  SampledSpectrum output;

  Scene() {
    headlight.setOn(1);
    headlight.setIntensity(2.0f);
    headlight.setSpectrum(&lightSpectrum);
    headlight.setDirection(0.0f, 0.0f, 1.0f);
    lights.set(0, &headlight);
    output.resample(40, 380.0f, 780.0f);
    for (int k = 0; k < 40; ++k) output.setValue(k, 99.0f); // stale values of another vertex
  }

  // Shades a vertex with the given normal and expects `expected` in every sample (to 1e-6).
  void expectShade(const Vector3& normal, float expected) {
    shadeVertex(context, {{0, 0, 0}, normal}, output, 1.0f, nullptr);
    for (int k = 0; k < output.count(); ++k) ASSERT_NEAR(output.value(k), expected, 1e-6f) << k;
  }
};

} // namespace

TEST(SpectralLight, DirectionsListSlotsAndSearchlight) {
  SpectralLight light;
  light.setDirection(3.0f, 0.0f, 4.0f); // normalised
  EXPECT_FLOAT_EQ(light.directionFor({5, 5, 5}).z, 0.8f);
  light.setDirection(0.0f, 0.0f, 0.0f); // no direction rather than NaN
  EXPECT_EQ(light.direction().length(), 0.0f);
  LightList list(3);
  list.set(2, &light);
  list.set(3, &light);
  list.set(-1, &light);
  EXPECT_TRUE(list.get(0) == nullptr && list.get(2) == &light && list.get(3) == nullptr && list.get(-1) == nullptr);
  WavelengthMapping mapping;
  EXPECT_EQ(mapping.emittedWavelength(500.0f, 1.5f), 750.0f);
  EXPECT_TRUE(mapping.searchlightFactor(2.0f) == 32.0f && mapping.searchlightFactor(0.5f) == 1.0f / 32.0f);
}

TEST(ShadeVertex, LightZeroIsAmbientAndDirectional) {
  Scene scene;
  scene.expectShade({0, 0, 1}, 0.3f + 1.68f);
  scene.expectShade({0, std::sqrt(0.75f), 0.5f}, 0.3f + 0.84f); // cosine 0.5
  scene.expectShade({0, 0, -1}, 0.3f);                          // facing away: ambient only
  scene.expectShade({1, 0, 0}, 0.3f);                           // grazing
  scene.headlight.setOn(0); // switched off, it still lights as the ambient light
  scene.expectShade({0, 0, 1}, 0.3f);
  scene.headlight.setOn(1);
  scene.context.ambientLight = nullptr; // no ambient light, nothing facing: black
  scene.expectShade({0, 0, -1}, 0.0f);
}

TEST(ShadeVertex, SkipsLightsThatAreEmptyOffDarkOrFacingAway) {
  Scene scene;
  SpectralLight off = scene.headlight, away = scene.headlight, dark = scene.headlight, second = scene.headlight;
  off.setOn(0);
  away.setDirection(0.0f, 0.0f, -1.0f);
  dark.setSpectrum(nullptr);
  second.setDirection(0.0f, 1.0f, 0.0f);
  scene.lights.set(2, &off);
  scene.lights.set(3, &away);
  scene.lights.set(4, &dark);
  scene.lights.set(7, &second); // slots 1, 5 and 6 stay empty
  // Ambient plus light 0 and the second light, each at cosine √½.
  scene.expectShade({0, std::sqrt(0.5f), std::sqrt(0.5f)}, 0.3f + 2.0f * 1.68f * std::sqrt(0.5f));
  RelMaterial blank; // a material without spectra reflects nothing
  scene.context.material = &blank;
  scene.expectShade({0, 0, 1}, 0.0f);
}

TEST(ShadeVertex, DopplerSwitchEvaluatesAtEmittedWavelengths) {
  Scene scene;
  WavelengthProbe probe, unshifted;
  IdentitySpectrum identity;
  scene.material.ambientSpectrum = &probe;
  scene.material.diffuseSpectrum = &identity;
  WavelengthMapping mapping;
  // Observed at 380–770 nm ahead (D = 2), the light left at 760–1540 nm.
  shadeVertex(scene.context, {{0, 0, 0}, {0, 0, 1}}, scene.output, 2.0f, &mapping);
  EXPECT_TRUE(probe.lowestNm == 760.0f && probe.highestNm == 1540.0f);
  for (int k = 0; k < scene.output.count(); ++k) {
    float expected = 0.6f + 2.4f * 2.0f * scene.output.wavelength(k); // 2·0.1·3·1 + 2·0.4·3·λ'
    EXPECT_NEAR(scene.output.value(k), expected, 1e-6f * expected) << k;
  }
  // With the switch off the factor is ignored.
  scene.material.ambientSpectrum = &unshifted;
  shadeVertex(scene.context, {{0, 0, 0}, {0, 0, 1}}, scene.output, 2.0f, nullptr);
  EXPECT_TRUE(unshifted.lowestNm == 380.0f && unshifted.highestNm == 770.0f);
  EXPECT_NEAR(scene.output.value(0), 0.6f + 2.4f * 380.0f, 1e-3f);
}

namespace {

// Value 1, counting its evaluations.
struct CountingSpectrum : Spectrum {
  float evaluate(float) const override {
    ++evaluations;
    return 1.0f;
  }
  mutable int evaluations = 0;
};

} // namespace

TEST(ShadeVertex, EachSpectrumOnceAndTheSumOfTheTerms) {
  // Light 0 (ambient and directional) a 5762 K body, light 4 a sampled
  // ramp; an RGB ambient reflectance and a black-body diffuse one. 100
  // samples, so more than one batch; D = 1.7 with the Doppler switch on.
  Scene scene;
  PlanckSpectrum sun(1.0f, 5762.0f), body(0.01f, 3000.0f);
  RgbSpectrum reddish;
  reddish.setRGB(0.9f, 0.2f, 0.1f);
  SampledSpectrum ramp;
  const float rampNm[] = {400, 900, 1400}, rampValue[] = {0.2f, 1.0f, 0.4f};
  ramp.assign(3, rampNm, rampValue);
  scene.material = {&reddish, 0.3f, &body, 0.9f, nullptr, 0.0f};
  scene.headlight.setSpectrum(&sun);
  SpectralLight side = scene.headlight;
  side.setSpectrum(&ramp);
  side.setDirection(Vector3(0, 1, 1).normalized());
  scene.lights.set(4, &side);
  scene.output.resample(100, 380.0f, 780.0f);
  WavelengthMapping mapping;

  // S(λ) = I_a·k_a·L_a(λD)·R_a(λD) + Σ_j I_j·k_d·(n·l_j)·L_j(λD)·R_d(λD) over
  // the lights facing the vertex; the same float operations, so 1e-6 relative.
  for (const Vector3& n : {Vector3(0, 0, 1), Vector3(0, 0.6f, 0.8f), Vector3(0, -1, 0), Vector3(0, 1, 0)}) {
    shadeVertex(scene.context, {{1, 2, 3}, n}, scene.output, 1.7f, &mapping);
    for (int k = 0; k < scene.output.count(); ++k) {
      float lambda = scene.output.wavelength(k) * 1.7f;
      float expected = 2.0f * 0.3f * sun.evaluate(lambda) * reddish.evaluate(lambda);
      if (n.z > 0.0f) expected += 2.0f * 0.9f * n.z * sun.evaluate(lambda) * body.evaluate(lambda);
      float c = dot(n, side.direction());
      if (c > 0.0f) expected += 2.0f * 0.9f * c * ramp.evaluate(lambda) * body.evaluate(lambda);
      ASSERT_NEAR(scene.output.value(k), expected, 1e-6f * std::fabs(expected) + 1e-12f) << k;
    }
  }

  // Both lights facing the vertex, light 0 also the ambient light: with 40
  // samples every spectrum is evaluated 40 times, the diffuse one included.
  CountingSpectrum ambientReflectance, diffuseReflectance, first, second;
  scene.material.ambientSpectrum = &ambientReflectance;
  scene.material.diffuseSpectrum = &diffuseReflectance;
  scene.headlight.setSpectrum(&first);
  side.setSpectrum(&second);
  scene.output.resample(40, 380.0f, 780.0f);
  shadeVertex(scene.context, {{0, 0, 0}, Vector3(0, 1, 2).normalized()}, scene.output, 1.7f, &mapping);
  for (const CountingSpectrum* spectrum : {&ambientReflectance, &diffuseReflectance, &first, &second})
    EXPECT_EQ(spectrum->evaluations, 40);
}
