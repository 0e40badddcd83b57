// The cie colour model: scale, white balance, shifted white, exposure, tone curves, sRGB, uplift.
#include "colour/colour_pipeline.h"
#include "colour/display_curve.h"
#include "colour/planck_spectrum.h"
#include "colour/smooth_target_shader.h"

#include "colour_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quillmere {
namespace {

// A light along +z and a surface facing it at the origin.
struct HeadOn {
  PlanckSpectrum sun{1.0f, 5762.0f};
  SpectralLight light = directionalLight(&sun, {0, 0, 1});
  LightList lights{8};
  VertexRay ray{Vector3(), Vector3(0, 0, 1)};
  HeadOn() { lights.set(1, &light); }
};

Vector3 toXyz(const Vector3& rgb) {
  const Tristimulus xyz = linearSrgbToXyz() * Tristimulus{{rgb.x, rgb.y, rgb.z}};
  return Vector3(float(xyz[0]), float(xyz[1]), float(xyz[2]));
}

TEST(ColourPipeline, WhiteAtRestIsDisplayWhiteAndAShiftedWhiteIsAHotterBlackBody) {
  HeadOn scene;
  ColourPipeline pipeline;
  pipeline.setReferenceLight(&scene.sun, 1.0f);
  ConstantSpectrum white(kStoredReflectanceScale); // a RELmaterialConstant of 1
  ConstantSpectrum zero;
  RelMaterial material{&zero, 0.0f, &white, 1.0f, &zero, 0.0f};
  const LightingContext context{&scene.lights, nullptr, &material};

  // Head-on at rest: Y = 1 and, white-balanced, sRGB (1, 1, 1).
  const Vector3 rest = SpectralShader(pipeline.sampling(), context, nullptr).colourOf(scene.ray, 1.0f);
  EXPECT_NEAR(toXyz(rest).y, 1.0f, 1e-3f);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(rest[i], 1.0f, 1.0f / 255.0f) << i;
  // Without white balance the sun is warmer than D65: red above blue.
  pipeline.whiteBalance = false;
  pipeline.prepare();
  const Vector3 warm = SpectralShader(pipeline.sampling(), context, nullptr).colourOf(scene.ray, 1.0f);
  EXPECT_GT(warm.x, warm.z + 0.1f);

  // Seen with Doppler factor D the surface has the chromaticity of a black
  // body at 5762·D K, Bradford-adapted from the sun's white to D65.
  pipeline.whiteBalance = true;
  pipeline.prepare();
  const WavelengthMapping mapping;
  const ColourMatrix adapt = bradfordAdaptation(spectrumToXyz(scene.sun), d65White());
  for (float d : {0.7f, 1.3f, 2.0f}) {
    const Vector3 shifted = SpectralShader(pipeline.sampling(), context, &mapping).colourOf(scene.ray, d);
    const Vector3 xyz = toXyz(shifted);
    double x, y, xRef, yRef;
    chromaticity(Tristimulus{{xyz.x, xyz.y, xyz.z}}, x, y);
    chromaticity(adapt * spectrumToXyz(PlanckSpectrum(1.0f, 5762.0f * d)), xRef, yRef);
    EXPECT_NEAR(x, xRef, 0.002) << "D = " << d;
    EXPECT_NEAR(y, yRef, 0.002) << "D = " << d;
  }
  // Blue ahead, red behind.
  const Vector3 ahead = SpectralShader(pipeline.sampling(), context, &mapping).colourOf(scene.ray, 1.5f);
  const Vector3 behind = SpectralShader(pipeline.sampling(), context, &mapping).colourOf(scene.ray, 0.7f);
  EXPECT_GT(ahead.z, ahead.x);
  EXPECT_GT(behind.x, behind.z);
}

TEST(ColourPipeline, PlanckSpectrumShiftedByDIsTheBlackBodyAtDT) {
  // B_T(λ·D) = D⁻⁵·B_{D·T}(λ): with the searchlight factor D⁵ the cie model
  // shows a black body of temperature T seen with D as one of D·T at rest.
  ConstantSpectrum flat(1.0f);
  SpectralLight light = directionalLight(&flat, {0, 0, 1});
  LightList lights(8);
  lights.set(1, &light);
  ColourPipeline pipeline;
  const WavelengthMapping mapping;
  const VertexRay ray{Vector3(), Vector3(0, 0, 1)};
  ConstantSpectrum zero;
  const float t = 3000.0f, d = 2.0f;
  // Unnormalised curves: strength ∝ peak value ∝ T⁵.
  PlanckSpectrum cool(1.0f, t), hot(std::pow(d, 5.0f), d * t);
  RelMaterial coolMaterial{&zero, 0.0f, &cool, 1.0f, &zero, 0.0f}, hotMaterial{&zero, 0.0f, &hot, 1.0f, &zero, 0.0f};
  const SpectralShader coolShifted(pipeline.sampling(), {&lights, nullptr, &coolMaterial}, &mapping);
  const SpectralShader hotAtRest(pipeline.sampling(), {&lights, nullptr, &hotMaterial}, nullptr);
  const Vector3 shifted = mapping.searchlightFactor(d) * coolShifted.colourOf(ray, d);
  const Vector3 atRest = hotAtRest.colourOf(ray, 1.0f);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(shifted[i], atRest[i], 2e-3f * std::fabs(atRest[i]) + 1e-4f) << i;
}

TEST(ColourPipeline, ExposureAutoExposureAndToneCurves) {
  // −k EV divides by exactly 2^k.
  ExposureControl exposure;
  for (int k : {1, 3, 7}) {
    exposure.fixedEv = float(-k);
    exposure.beginFrame();
    for (float value : {0.3f, 1.7f, 123.456f}) EXPECT_EQ(exposure.factor() * value, std::ldexp(value, -k));
  }

  // Clip leaves values ≤ 1 untouched; every curve keeps a neutral neutral,
  // stays below 1 (Reinhard, filmic), and rises.
  for (float value : {0.0f, 0.01f, 0.5f, 0.99f, 1.0f}) EXPECT_EQ(toneMapChannel(ToneMap::Clip, value), value);
  EXPECT_EQ(toneMapChannel(ToneMap::Clip, 7.0f), 1.0f);
  EXPECT_FLOAT_EQ(toneMapChannel(ToneMap::Reinhard, 1.0f), 0.5f);
  for (ToneMap curve : {ToneMap::Clip, ToneMap::Reinhard, ToneMap::Filmic}) {
    float previous = 0.0f;
    for (float value = 0.05f; value < 50.0f; value *= 1.3f) {
      const Vector3 grey = toneMap(curve, Vector3(value, value, value));
      EXPECT_TRUE(grey.x == grey.y && grey.y == grey.z);
      EXPECT_LE(grey.x, 1.0f);
      EXPECT_GE(grey.x, previous);
      previous = grey.x;
    }
  }
  // Filmic: identity up to its knee, continuous beyond it.
  EXPECT_EQ(toneMapChannel(ToneMap::Filmic, 0.5f), 0.5f);
  EXPECT_NEAR(toneMapChannel(ToneMap::Filmic, 0.6001f), 0.6001f, 1e-4f);

  // The tabulated transfer against the formula; the formula's fixed points.
  for (float c = 0.0f; c <= 1.0f; c += 0.0007f) EXPECT_NEAR(encodeSrgb(c), encodeSrgbExact(c), 2e-5f) << c;
  EXPECT_NEAR(encodeSrgbExact(0.0031308f), 0.04045f, 1e-5f);
  EXPECT_NEAR(encodeSrgbExact(1.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(decodeSrgb(encodeSrgbExact(0.2f)), 0.2f, 1e-6f);

  // Automatic exposure brings the bright lit vertices to white.
  ExposureControl metered;
  metered.automatic = true;
  EXPECT_TRUE(metered.needsMetering());
  LuminanceHistogram histogram;
  for (int i = 0; i < 100; ++i) histogram.add(Vector3(16.0f, 16.0f, 16.0f)); // Y = 16: −4 EV
  histogram.add(Vector3());                                                   // unlit: not counted
  metered.record(histogram);
  metered.beginFrame();
  EXPECT_NEAR(metered.ev(), -4.0f, 0.2f); // the first metered frame sets it outright
  EXPECT_FALSE(metered.needsMetering());
}

TEST(DisplayCurve, FollowsToneCurveAndTransferFarWithinHalfALevel) {
  // Against the curves and the exact transfer over 2^−20..2^16, the knees
  // included; 1e-4 is a twentieth of the half level that 8 bits resolve.
  for (ToneMap curve : {ToneMap::Clip, ToneMap::Reinhard, ToneMap::Filmic}) {
    const DisplayCurve display(curve);
    float worst = 0.0f;
    for (float x = std::ldexp(1.0f, -20); x < 65536.0f; x *= 1.0137f)
      for (float value : {x, 0.0031308f, 0.6f, 0.6001f, 1.0f, 1.0001f}) {
        const float exact = encodeSrgbExact(std::min(toneMapChannel(curve, value), 1.0f));
        worst = std::max(worst, std::fabs(display(value) - exact));
      }
    EXPECT_LT(worst, 1e-4f);
    // No light, negative light, NaN and infinities are black (as gamut
    // mapping counts them); a huge finite value is white.
    const float infinity = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    for (float dark : {0.0f, -0.5f, nan, -nan, infinity, -infinity}) EXPECT_EQ(display(dark), 0.0f) << dark;
    EXPECT_NEAR(display(1e30f), 1.0f, 1e-4f);
  }
}

TEST(ColourPipeline, SmoothUpliftReproducesEveryGridColourWithReflectancesInRange) {
  HeadOn scene;
  ColourPipeline pipeline;
  pipeline.setReferenceLight(&scene.sun, 1.0f);
  SmoothTargetShader shader(pipeline.sampling(), &scene.lights, nullptr);
  for (int r = 0; r <= 255; r += 17)
    for (int g = 0; g <= 255; g += 17)
      for (int b = 0; b <= 255; b += 17) {
        const Vector3 display(r / 255.0f, g / 255.0f, b / 255.0f);
        const Vector3 c = pipeline.smoothCoefficients(display);
        // Drawn head-on at rest, with the clip curve (values ≤ 1 untouched).
        Vector3 linear = shader.colourOf(scene.ray, 1.0f, Vector3(), c);
        for (int i = 0; i < 3; ++i) {
          const float encoded = encodeSrgbExact(std::min(std::max(linear[i], 0.0f), 1.0f)) * 255.0f;
          EXPECT_LE(std::fabs(encoded - display[i] * 255.0f), 1.0f) << r << " " << g << " " << b << " channel " << i;
        }
        // A reflectance in [0, 1] at every wavelength, flat beyond 360–830 nm.
        SigmoidSpectrum spectrum(c, 1.0f);
        for (float nm = 200.0f; nm <= 3000.0f; nm += 97.0f) {
          const float value = spectrum.evaluate(nm);
          EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << nm;
        }
        EXPECT_EQ(spectrum.evaluate(3000.0f), spectrum.evaluate(830.0f));
        EXPECT_EQ(spectrum.evaluate(100.0f), spectrum.evaluate(360.0f));
      }
}

TEST(ColourPipeline, PerVertexSmoothColoursMatchTheWholeShapeSpectra) {
  // The per-vertex shader (with its reference-light shortcut) against the whole-shape shader.
  HeadOn scene;
  SpectralLight ambient; // the headlight slot, also the ambient light
  ambient.setIntensity(0.5f);
  ambient.setSpectrum(&scene.sun);
  scene.lights.set(0, &ambient);
  scene.ray.normal = Vector3(0.6f, 0.0f, 0.8f);
  ColourPipeline pipeline;
  pipeline.setReferenceLight(&scene.sun, 1.0f);
  const Vector3 ambientColour(0.3f, 0.5f, 0.2f), diffuseColour(0.9f, 0.4f, 0.1f);
  const Vector3 a = pipeline.smoothCoefficients(ambientColour), d = pipeline.smoothCoefficients(diffuseColour);
  SigmoidSpectrum ambientSpectrum(a, kStoredReflectanceScale), diffuseSpectrum(d, kStoredReflectanceScale);
  RelMaterial material{&ambientSpectrum, 1.0f, &diffuseSpectrum, 1.0f, &diffuseSpectrum, 0.0f};
  const WavelengthMapping mapping;
  for (bool balance : {true, false})
    for (const WavelengthMapping* shift : {static_cast<const WavelengthMapping*>(nullptr), &mapping}) {
      pipeline.whiteBalance = balance;
      pipeline.prepare();
      SmoothTargetShader perVertex(pipeline.sampling(), &scene.lights, shift);
      perVertex.setReference(pipeline.referenceLight(), pipeline.referenceIntensity(), pipeline.balancedToDrawing());
      const SpectralShader whole(pipeline.sampling(), {&scene.lights, &ambient, &material}, shift);
      const float factor = shift ? 1.4f : 1.0f;
      const Vector3 got = perVertex.colourOf(scene.ray, factor, a, d, ColourPipeline::linearTarget(ambientColour),
                                             ColourPipeline::linearTarget(diffuseColour));
      const Vector3 want = whole.colourOf(scene.ray, factor);
      for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], want[i], 2e-4f) << "balance " << balance << ", shift " << (shift != nullptr) << ", " << i;
    }
}

} // namespace
} // namespace quillmere
