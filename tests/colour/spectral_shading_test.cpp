#include "colour/spectral_shading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace quillmere;

namespace {

// Records the range of wavelengths it is evaluated at; value 1 everywhere.
class WavelengthProbe : public Spectrum {
public:
  float evaluate(float wavelengthNm) const override {
    lowestNm = std::min(lowestNm, wavelengthNm);
    highestNm = std::max(highestNm, wavelengthNm);
    return 1.0f;
  }
  mutable float lowestNm = 1e30f;
  mutable float highestNm = -1e30f;
};

// The value at λ is λ itself, so a sample shows where it was evaluated.
class IdentitySpectrum : public Spectrum {
public:
  float evaluate(float wavelengthNm) const override { return wavelengthNm; }
};

// Constant spectra keep the arithmetic checkable by hand:
// ambient I_a·k_a·L·R_a = 2·0.1·3·0.5 = 0.3,
// diffuse per unit cosine I·k_d·L·R_d = 2·0.4·3·0.7 = 1.68.
struct Scene {
  ConstantSpectrum lightSpectrum{3.0f};
  ConstantSpectrum ambientReflectance{0.5f};
  ConstantSpectrum diffuseReflectance{0.7f};
  RelMaterial material;
  SpectralLight headlight;
  LightList lights{8};
  LightingContext context;
  SampledSpectrum output;

  Scene() {
    material.ambientSpectrum = &ambientReflectance;
    material.ambientFactor = 0.1f;
    material.diffuseSpectrum = &diffuseReflectance;
    material.diffuseFactor = 0.4f;
    headlight.setOn(1);
    headlight.setIntensity(2.0f);
    headlight.setSpectrum(&lightSpectrum);
    headlight.setDirection(0.0f, 0.0f, 1.0f);
    lights.set(0, &headlight);
    context = {&lights, &headlight, &material};
    output.resample(40, 380.0f, 780.0f);
    for (int k = 0; k < output.count(); ++k) output.setValue(k, 99.0f); // stale values from another vertex
  }

  void shade(const Vector3& normal, float doppler = 1.0f, const WavelengthMapping* mapping = nullptr) {
    shadeVertex(context, {{0, 0, 0}, normal}, output, doppler, mapping);
  }

  void expectEverySample(float expected) const {
    for (int k = 0; k < output.count(); ++k) EXPECT_NEAR(output.value(k), expected, 1e-6f) << k; // float rounding
  }
};

} // namespace

TEST(SpectralLight, DefaultsAndDirectionSetters) {
  SpectralLight light;
  EXPECT_EQ(light.on(), 0);
  EXPECT_EQ(light.intensity(), 0.0f);
  EXPECT_EQ(light.spectrum(), nullptr);
  EXPECT_EQ(light.direction().x, 1.0f);

  light.setDirection(3.0f, 0.0f, 4.0f); // normalised
  EXPECT_FLOAT_EQ(light.direction().x, 0.6f);
  EXPECT_FLOAT_EQ(light.direction().z, 0.8f);
  light.setDirection(Vector3(0.0f, 2.0f, 0.0f)); // copied as it is
  EXPECT_EQ(light.directionFor({5, 5, 5}).y, 2.0f);
  light.setDirection(0.0f, 0.0f, 0.0f); // no direction rather than NaN
  EXPECT_EQ(light.direction().length(), 0.0f);
}

TEST(LightList, IgnoresIndicesOutsideItsSlots) {
  SpectralLight a, b;
  LightList list(3);
  EXPECT_EQ(list.size(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list.get(i), nullptr);
  list.set(2, &a);
  list.set(3, &b);
  list.set(-1, &b);
  EXPECT_EQ(list.get(2), &a);
  EXPECT_EQ(list.get(0), nullptr);
  EXPECT_EQ(list.get(1), nullptr);
  EXPECT_EQ(list.get(3), nullptr);
  EXPECT_EQ(list.get(-1), nullptr);
}

TEST(WavelengthMapping, ShiftsByDAndScalesByDToTheFifth) {
  WavelengthMapping mapping;
  EXPECT_EQ(mapping.lowerBound(), 380.0f);
  EXPECT_EQ(mapping.upperBound(), 780.0f);
  EXPECT_EQ(mapping.emittedWavelength(500.0f, 1.5f), 750.0f);
  EXPECT_EQ(mapping.searchlightFactor(2.0f), 32.0f);
  EXPECT_EQ(mapping.searchlightFactor(0.5f), 1.0f / 32.0f);
  EXPECT_EQ(mapping.searchlightScaling(3.0f, 2.0f), 96.0f);
  EXPECT_EQ(searchlightFactor(2.0f), 32.0f);
  EXPECT_FLOAT_EQ(searchlightFactor(1.25f), 3.0517578f); // abeam at β = 0.6

  // Kinds and laws other than 0 are not defined and give 0.
  mapping.setMappingKind(1);
  mapping.setSearchlightLaw(1);
  EXPECT_EQ(mapping.emittedWavelength(500.0f, 1.5f), 0.0f);
  EXPECT_EQ(mapping.searchlightFactor(2.0f), 0.0f);
}

TEST(ShadeVertex, LightZeroIsAmbientAndDirectional) {
  Scene scene;
  scene.shade({0, 0, 1}); // facing the light
  scene.expectEverySample(0.3f + 1.68f);
  scene.shade({0, std::sqrt(0.75f), 0.5f}); // 60° off: cosine 0.5
  scene.expectEverySample(0.3f + 0.84f);
  scene.shade({0, 0, -1}); // facing away: ambient only
  scene.expectEverySample(0.3f);
  scene.shade({1, 0, 0}); // grazing: cosine 0 contributes nothing
  scene.expectEverySample(0.3f);

  // Switched off, light 0 still lights as the ambient light.
  scene.headlight.setOn(0);
  scene.shade({0, 0, 1});
  scene.expectEverySample(0.3f);

  // Without an ambient light and without lights facing the vertex: black.
  scene.headlight.setOn(1);
  scene.context.ambientLight = nullptr;
  scene.shade({0, 0, -1});
  scene.expectEverySample(0.0f);
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
  scene.shade({0, std::sqrt(0.5f), std::sqrt(0.5f)});
  // Ambient plus light 0 and the second light, each at cosine √½.
  scene.expectEverySample(0.3f + 2.0f * 1.68f * std::sqrt(0.5f));

  // A material without spectra reflects nothing.
  RelMaterial blank;
  scene.context.material = &blank;
  scene.shade({0, 0, 1});
  scene.expectEverySample(0.0f);
}

TEST(ShadeVertex, DopplerSwitchEvaluatesAtEmittedWavelengths) {
  Scene scene;
  WavelengthProbe probe;
  IdentitySpectrum identity;
  scene.material.ambientSpectrum = &probe;
  scene.material.diffuseSpectrum = &identity;
  WavelengthMapping mapping;

  // Observed 380–770 nm ahead (D = 2) left the source at 760–1540 nm.
  scene.shade({0, 0, 1}, 2.0f, &mapping);
  EXPECT_EQ(probe.lowestNm, 760.0f);
  EXPECT_EQ(probe.highestNm, 1540.0f);
  for (int k = 0; k < scene.output.count(); ++k) {
    float emittedNm = 2.0f * scene.output.wavelength(k);
    // ambient 2·0.1·3·1 plus diffuse 2·0.4·1·3·λ'
    float expected = 0.6f + 2.4f * emittedNm;
    EXPECT_NEAR(scene.output.value(k), expected, 1e-6f * expected) << k; // float rounding
  }

  // With the switch off the factor is ignored.
  WavelengthProbe unshifted;
  scene.material.ambientSpectrum = &unshifted;
  scene.shade({0, 0, 1}, 2.0f, nullptr);
  EXPECT_EQ(unshifted.lowestNm, 380.0f);
  EXPECT_EQ(unshifted.highestNm, 770.0f);
  EXPECT_NEAR(scene.output.value(0), 0.6f + 2.4f * 380.0f, 1e-6f * 912.6f);
}
