#include "colour/spectral_shading.h"

#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"

#include "colour_test_support.h"

#include <cmath>

using namespace quillmere;

namespace {

// Constant spectra keep the sums checkable by hand: the ambient term is
// I_a·k_a·L·R_a = 2·0.1·3·0.5 = 0.3, the diffuse term per unit cosine
// I·k_d·L·R_d = 2·0.4·3·0.7 = 1.68.
struct Scene {
  ConstantSpectrum lightSpectrum{3.0f}, ambientReflectance{0.5f}, diffuseReflectance{0.7f};
  RelMaterial material{&ambientReflectance, 0.1f, &diffuseReflectance, 0.4f, nullptr, 0.0f};
  SpectralLight headlight = directionalLight(&lightSpectrum, {0, 0, 1}, 2.0f);
  LightList lights{8};
  LightingContext context{&lights, &headlight, &material};
  SampledSpectrum output;

  Scene() {
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

TEST(ShadeVertex, LightZeroIsAmbientAndDirectionalAndLightsThatCannotShineAreSkipped) {
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
  scene.context.ambientLight = &scene.headlight;

  // Lights that are empty, off, dark or facing away add nothing.
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

TEST(ShadeVertex, SumsTheTermsOfEveryLightFacingTheVertex) {
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

}
