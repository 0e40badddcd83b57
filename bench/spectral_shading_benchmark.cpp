// The colour of one vertex on the spectral drawing path, as the face and line
// sets compute it for every vertex of every frame: spectral shading on 40
// samples, conversion to RGB, searchlight factor and gamut clip. The scene is
// the one a load builds for a black-body material: the two default spectral
// lights share a 5762 K Planck spectrum; the headlight (slot 0) is switched
// off after loading but still serves as the ambient light.
//
// Arguments: colourShift (0 none, 1 searchlight, 2 Doppler, 3 both) and
// whether the headlight is on. Reports shaded vertices per second and the
// heap allocations made inside the timed loop (must be 0).
//
// BM_SpectralVertexColour runs the reference (shadeVertex, spectrumToRgb);
// BM_SpectralShaderColour the per-draw SpectralShader the renderers use, built
// once per pass over the vertices as a draw builds it, with the black-body
// material above (material 0) or an RGB material of the default width
// (material 1, the grey (0.8, 0.8, 0.8) that shapes without a relativistic
// material get).

#include "colour/colour_pipeline.h"
#include "colour/gamut_mapping.h"
#include "colour/smooth_target_shader.h"
#include "colour/planck_spectrum.h"
#include "colour/rgb_target_shader.h"
#include "colour/rgb_spectrum.h"
#include "colour/spectral_shader.h"
#include "colour/spectral_shading.h"
#include "colour/spectrum_to_rgb.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

namespace {

std::atomic<long> allocationCount{0};

} // namespace

// Counting replacements of the global allocation functions. Kept out of line
// so that the compiler does not pair an inlined malloc with an inlined free.
[[gnu::noinline]] void* operator new(std::size_t size) {
  allocationCount.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }

namespace {

using namespace quillmere;

constexpr int kVertexCount = 4096; // one mesh's worth, reused every iteration

struct Vertex {
  VertexRay ray;
  float doppler; // D of the vertex for the observer
};

// Unit normals spread over the sphere and Doppler factors of an observer at
// β = 0.6 (D from 0.5 behind to 2 ahead), fixed seed.
std::vector<Vertex> makeVertices() {
  std::mt19937 random(1905);
  std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
  const float beta = 0.6f, gamma = 1.25f;
  std::vector<Vertex> vertices(kVertexCount);
  for (Vertex& v : vertices) {
    Vector3 n;
    do n = Vector3(uniform(random), uniform(random), uniform(random));
    while (n.length() < 0.1f || n.length() > 1.0f);
    v.ray.position = 10.0f * n;
    v.ray.normal = n.normalized();
    v.doppler = gamma * (1.0f + beta * uniform(random));
  }
  return vertices;
}

// The default lights of a loaded scene (a 5762 K black body as headlight and
// scene light), and a black-body material with the node's defaults
// (strength 1, 5760 K).
struct SceneLighting {
  PlanckSpectrum sunlight{1.0f, 5762.0f};
  SpectralLight headlight, sceneLight;
  LightList lights{8};
  PlanckSpectrum emission{0.01f, 5760.0f};

  explicit SceneLighting(bool headlightOn) {
    headlight.setDirection(0.0f, 0.0f, -1.0f);
    sceneLight.setDirection(0.3f, 0.5f, 0.8f);
    for (SpectralLight* light : {&headlight, &sceneLight}) {
      light->setOn(1);
      light->setIntensity(1.0f);
      light->setSpectrum(&sunlight);
    }
    headlight.setOn(headlightOn ? 1 : 0);
    lights.set(0, &headlight);
    lights.set(1, &sceneLight);
  }
};

void BM_SpectralVertexColour(benchmark::State& state) {
  const int colourShift = int(state.range(0));
  const bool headlightOn = state.range(1) != 0;

  SceneLighting scene(headlightOn);
  LightList& lights = scene.lights;
  PlanckSpectrum& emission = scene.emission;
  ConstantSpectrum zero;
  RelMaterial material{&zero, 0.0f, &emission, 1.0f, &zero, 0.0f};

  LightingContext context{&lights, lights.get(0), &material};
  WavelengthMapping wavelengthRange;
  GamutMapping gamutMapping;
  SampledSpectrum spectrum;
  spectrum.resample(40, 380.0f, 780.0f);

  const std::vector<Vertex> vertices = makeVertices();
  const bool doppler = colourShift == 2 || colourShift == 3;
  const bool searchlight = colourShift == 1 || colourShift == 3;

  long allocationsBefore = allocationCount.load();
  for (auto _ : state) {
    for (const Vertex& v : vertices) {
      if (doppler)
        shadeVertex(context, v.ray, spectrum, v.doppler, &wavelengthRange);
      else
        shadeVertex(context, v.ray, spectrum, 1.0f, nullptr);
      Vector3 rgb = spectrumToRgb(spectrum);
      if (searchlight) rgb = wavelengthRange.searchlightFactor(v.doppler) * rgb;
      gamutMapping.clip(rgb);
      benchmark::DoNotOptimize(rgb);
    }
  }
  long allocations = allocationCount.load() - allocationsBefore;

  state.SetItemsProcessed(state.iterations() * kVertexCount);
  state.counters["allocations"] = double(allocations);
}

// Draws over the vertices as the renderers do: `makeShader` builds the
// per-draw shader (a callable giving vertex i's colour), then every vertex is
// shaded, brightened by the searchlight factor when asked and clipped.
// Reports vertices per second and the allocations beyond the shader's one
// list of lights per draw.
template <typename MakeShader>
void runDraws(benchmark::State& state, const std::vector<Vertex>& vertices, bool searchlight,
              const WavelengthMapping& wavelengthRange, const GamutMapping& gamutMapping, MakeShader makeShader,
              const ColourPipeline* cie = nullptr) {
  long allocationsBefore = allocationCount.load();
  for (auto _ : state) {
    const auto colourOf = makeShader();
    for (std::size_t i = 0; i < vertices.size(); ++i) {
      const Vertex& v = vertices[i];
      Vector3 colour = colourOf(v, i);
      if (searchlight) colour = wavelengthRange.searchlightFactor(v.doppler) * colour;
      if (cie)
        colour = cie->toDisplay(colour, gamutMapping);
      else
        gamutMapping.clip(colour);
      benchmark::DoNotOptimize(colour);
    }
  }
  long allocations = allocationCount.load() - allocationsBefore - long(state.iterations());
  state.SetItemsProcessed(state.iterations() * kVertexCount);
  state.counters["allocations"] = double(allocations);
}

void BM_SpectralShaderColour(benchmark::State& state) {
  const int colourShift = int(state.range(0));
  const bool headlightOn = state.range(1) != 0;
  const bool rgbMaterial = state.range(2) != 0;
  const bool cie = state.range(3) != 0;

  SceneLighting scene(headlightOn);
  ColourPipeline pipeline;
  pipeline.setReferenceLight(&scene.sunlight, 1.0f);
  SigmoidSpectrum smoothGrey(pipeline.smoothCoefficients(Vector3(0.8f, 0.8f, 0.8f)), kStoredReflectanceScale);
  LightList& lights = scene.lights;
  PlanckSpectrum& emission = scene.emission;
  RgbSpectrum grey; // σ = 20 nm, (0.8, 0.8, 0.8)
  ConstantSpectrum zero;
  RelMaterial blackBody{&zero, 0.0f, &emission, 1.0f, &zero, 0.0f};
  RelMaterial rgb{&grey, 1.0f, &grey, 1.0f, &grey, 1.0f};
  RelMaterial smooth{&smoothGrey, 1.0f, &smoothGrey, 1.0f, &smoothGrey, 1.0f};

  LightingContext context{&lights, lights.get(0), rgbMaterial ? (cie ? &smooth : &rgb) : &blackBody};
  WavelengthMapping wavelengthRange;
  GamutMapping gamutMapping;
  const SpectralSampling systemSampling(40, 380.0f, 780.0f);
  const SpectralSampling& sampling = cie ? pipeline.sampling() : systemSampling;

  const std::vector<Vertex> vertices = makeVertices();
  const bool doppler = colourShift == 2 || colourShift == 3;
  const bool searchlight = colourShift == 1 || colourShift == 3;

  runDraws(state, vertices, searchlight, wavelengthRange, gamutMapping, [&] {
    return [shader = SpectralShader(sampling, context, doppler ? &wavelengthRange : nullptr)](
               const Vertex& v, std::size_t) { return shader.colourOf(v.ray, v.doppler); };
  }, cie ? &pipeline : nullptr);
}

void BM_RgbTargetShaderColour(benchmark::State& state) {
  const int colourShift = int(state.range(0));
  const bool headlightOn = state.range(1) != 0;
  const bool cie = state.range(2) != 0;

  SceneLighting scene(headlightOn);
  WavelengthMapping wavelengthRange;
  GamutMapping gamutMapping;
  const SpectralSampling sampling(40, 380.0f, 780.0f);
  ColourPipeline pipeline;
  pipeline.setReferenceLight(&scene.sunlight, 1.0f);

  const std::vector<Vertex> vertices = makeVertices();
  std::vector<Vector3> targets(vertices.size());
  for (std::size_t i = 0; i < targets.size(); ++i)
    targets[i] = Vector3(float(i % 7) / 6, float(i % 5) / 4, float(i % 3) / 2); // a colour map's spread
  const bool doppler = colourShift == 2 || colourShift == 3;
  const bool searchlight = colourShift == 1 || colourShift == 3;

  if (cie) {
    // The smooth uplift's coefficients, fitted once per colour as a draw finds them.
    std::vector<Vector3> coefficients(targets.size()), linear(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
      coefficients[i] = pipeline.smoothCoefficients(targets[i]);
      linear[i] = ColourPipeline::linearTarget(targets[i]);
    }
    const Vector3 ambient = pipeline.smoothCoefficients(Vector3(0.2f, 0.2f, 0.2f));
    const Vector3 ambientLinear = ColourPipeline::linearTarget(Vector3(0.2f, 0.2f, 0.2f));
    runDraws(state, vertices, searchlight, wavelengthRange, gamutMapping, [&] {
      return [shader =
                  [&] {
                    SmoothTargetShader made(pipeline.sampling(), &scene.lights, doppler ? &wavelengthRange : nullptr);
                    made.setReference(pipeline.referenceLight(), pipeline.referenceIntensity(),
                                      pipeline.balancedToDrawing());
                    return made;
                  }(),
              &coefficients, &linear, ambient, ambientLinear](const Vertex& v, std::size_t i) {
        return shader.colourOf(v.ray, v.doppler, ambient, coefficients[i], ambientLinear, linear[i]);
      };
    }, &pipeline);
    return;
  }
  runDraws(state, vertices, searchlight, wavelengthRange, gamutMapping, [&] {
    return [shader = RgbTargetShader(sampling, &scene.lights, 20.0f, doppler ? &wavelengthRange : nullptr),
            &targets](const Vertex& v, std::size_t i) {
      return shader.colourOf(v.ray, v.doppler, Vector3(0.2f, 0.2f, 0.2f), targets[i]);
    };
  });
}

BENCHMARK(BM_RgbTargetShaderColour)
    ->ArgNames({"colourShift", "headlight", "colourModel"})
    ->Args({0, 0, 0})
    ->Args({0, 0, 1})
    ->Args({3, 0, 0})
    ->Args({3, 0, 1})
    ->Args({3, 1, 0})
    ->Args({3, 1, 1})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_SpectralShaderColour)
    ->ArgNames({"colourShift", "headlight", "rgbMaterial", "colourModel"})
    ->Args({0, 0, 0, 0})
    ->Args({0, 0, 0, 1})
    ->Args({3, 0, 0, 0})
    ->Args({3, 0, 0, 1})
    ->Args({3, 1, 0, 0})
    ->Args({3, 1, 0, 1})
    ->Args({0, 0, 1, 0})
    ->Args({0, 0, 1, 1})
    ->Args({3, 0, 1, 0})
    ->Args({3, 0, 1, 1})
    ->Args({3, 1, 1, 0})
    ->Args({3, 1, 1, 1})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_SpectralVertexColour)
    ->ArgNames({"colourShift", "headlight"})
    ->Args({0, 0})
    ->Args({3, 0})
    ->Args({0, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
