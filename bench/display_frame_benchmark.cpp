// One frame of a generated scene of about a million vertices: 100 face sets
// of 100 × 100-vertex grids, resting in a RELframe that moves at 0.5c, seen
// by an observer flying at 0.9c. Measured: the relativisticTransform of the
// whole scene (positions and normals, plus the Doppler factors the spectral
// path needs), the spectral colour pass (one colour per vertex, before the
// indices are emitted; no OpenGL), and in the same run the bare light-cone
// loop over the same vertices, the reference the two are quoted against.
// The scene transform runs with 1 and with 2 threads (the argument), beside
// a plain single-threaded copy of the positions and normals. Times are wall
// clock, as the threads share the work.
//
//   display_frame_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "colour/gamut_mapping.h"
#include "colour/planck_spectrum.h"
#include "display/group.h"
#include "display/indexed_face_set.h"
#include "display/rel_frame.h"
#include "relativity/lorentz.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace quillmere;

constexpr int kGridSide = 100;    // vertices along each side of one face set
constexpr int kFaceSets = 100;
constexpr long kVertexCount = long(kGridSide) * kGridSide * kFaceSets;

// A grid in the plane z = depth facing the observer, as fan-triangulated quads.
std::unique_ptr<DvIndexedFaceSet> gridFaceSet(float depth, float offsetX) {
  std::vector<float> points(3 * kGridSide * kGridSide), normals(points.size());
  for (int row = 0; row < kGridSide; ++row)
    for (int column = 0; column < kGridSide; ++column) {
      std::size_t i = std::size_t(3 * (row * kGridSide + column));
      points[i] = offsetX + 0.1f * float(column);
      points[i + 1] = 0.1f * float(row) - 5.0f;
      points[i + 2] = depth;
      normals[i + 2] = -1.0f;
    }
  std::vector<std::int32_t> coordIndex;
  for (int row = 0; row + 1 < kGridSide; ++row)
    for (int column = 0; column + 1 < kGridSide; ++column) {
      int corner = row * kGridSide + column;
      coordIndex.insert(coordIndex.end(), {corner, corner + 1, corner + 1 + kGridSide, corner + kGridSide, -1});
    }
  FaceSetSource source;
  source.points = reinterpret_cast<const float(*)[3]>(points.data());
  source.pointCount = kGridSide * kGridSide;
  source.normals = reinterpret_cast<const float(*)[3]>(normals.data());
  source.normalCount = source.pointCount;
  source.coordIndex = coordIndex.data();
  source.coordIndexCount = long(coordIndex.size());
  return std::make_unique<DvIndexedFaceSet>(source);
}

struct BenchScene {
  DvGroup root;
  std::vector<DvIndexedFaceSet*> faceSets;
  RelObserver observer{0, 0, -20, 0, 0.9f, 0.1f, 0, 1};
  DvRenderState state;
  PlanckSpectrum sunlight{1.0f, 5762.0f};
  SpectralLight ambient, light;
  GamutMapping gamut;
  FrameHolder holder;

  BenchScene() {
    root.append(std::make_unique<RelFrame>(Vector3(0, 0, 0), Vector3(0.5f, 0, 0)));
    for (int i = 0; i < kFaceSets; ++i)
      faceSets.push_back(static_cast<DvIndexedFaceSet*>(root.append(gridFaceSet(10.0f + i, -5.0f))));
    ambient.setSpectrum(&sunlight);
    ambient.setIntensity(0.1f);
    light.setOn(1);
    light.setIntensity(1.0f);
    light.setSpectrum(&sunlight);
    light.setDirection(0.3f, 0.2f, -1);
    state.setSpectralHeadlight(&ambient);
    state.setSpectralLight(1, &light);
    state.gamutMapping = &gamut;
    state.softwareShading = 1;
    state.colourShift = ColourShift::DopplerAndSearchlight;
  }
};

BenchScene& scene() {
  static BenchScene instance;
  return instance;
}

void BM_SceneRelativisticTransform(benchmark::State& benchmarkState) {
  BenchScene& s = scene();
  s.state.threads = int(benchmarkState.range(0));
  for (auto _ : benchmarkState) {
    s.holder = FrameHolder();
    s.root.relativisticTransform(s.observer, s.state, DrawPass(s.state), s.holder);
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
}

void BM_SceneSpectralColours(benchmark::State& benchmarkState) {
  BenchScene& s = scene();
  s.holder = FrameHolder();
  s.root.relativisticTransform(s.observer, s.state, DrawPass(s.state), s.holder);
  for (auto _ : benchmarkState) {
    for (DvIndexedFaceSet* faces : s.faceSets) faces->shadeVertices(s.state, DrawPass(s.state));
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
}

// The bare loop of the light-cone transform over the same vertices.
void BM_LightConeLoopReference(benchmark::State& benchmarkState) {
  BenchScene& s = scene();
  s.holder = FrameHolder();
  s.root.relativisticTransform(s.observer, s.state, DrawPass(s.state), s.holder);
  const MovingFrameState& frame = s.holder.frame->state();
  std::vector<DvVertex> target(std::size_t(kGridSide * kGridSide));
  for (auto _ : benchmarkState) {
    for (DvIndexedFaceSet* faces : s.faceSets) {
      const DvVertex* source = faces->vertices();
      for (int i = 0; i < faces->vertexCount(); ++i)
        lightConeTransform(frame, source[i].position, source[i].normal, true, target[std::size_t(i)].position,
                           target[std::size_t(i)].normal);
      benchmark::DoNotOptimize(target.data());
    }
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
}

// A plain copy of the same bytes on one thread: position and normal of every
// vertex into a vertex array, the memory-speed ceiling for the transform.
void BM_CopyReference(benchmark::State& benchmarkState) {
  BenchScene& s = scene();
  std::vector<DvVertex> target(std::size_t(kGridSide * kGridSide));
  for (auto _ : benchmarkState) {
    for (DvIndexedFaceSet* faces : s.faceSets) {
      const DvVertex* source = faces->vertices();
      for (int i = 0; i < faces->vertexCount(); ++i) {
        target[std::size_t(i)].position = source[i].position;
        target[std::size_t(i)].normal = source[i].normal;
      }
      benchmark::DoNotOptimize(target.data());
    }
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
}

BENCHMARK(BM_CopyReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LightConeLoopReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneRelativisticTransform)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneSpectralColours)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
