// The light-cone transform of a mesh: one million vertices, each a position
// and a normal in one flat array, transformed into a second array as a face
// set does every frame. The copy benchmark moves the same bytes with the
// same loop and nothing else: the memory-speed ceiling for the transform.
// The block benchmarks run the vectorised transform: from the same records
// through stack runs of separate coordinate arrays (what a face set does),
// and on separate coordinate arrays alone (the arithmetic without the copies).
//
//   lorentz_transform_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "relativity/lorentz.h"
#include "relativity/lorentz_block.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using namespace quillmere;

struct VertexRecord {
  Vector3 position;
  Vector3 normal;
};

constexpr int kVertexCount = 1000000;

// A sphere-ish cloud of vertices around the origin with outward normals.
const std::vector<VertexRecord>& sourceVertices() {
  static const std::vector<VertexRecord> vertices = [] {
    std::vector<VertexRecord> result(kVertexCount);
    for (int i = 0; i < kVertexCount; ++i) {
      float a = 0.001f * i, b = 0.0007f * i;
      Vector3 direction(std::cos(a) * std::sin(b), std::cos(b), std::sin(a) * std::sin(b));
      result[i] = {(10.0f + float(i % 97)) * direction, direction};
    }
    return result;
  }();
  return vertices;
}

MovingFrameState movingObserver() {
  MovingFrameState state;
  Vector3 d = Vector3(0.3f, 0.1f, 1.0f).normalized();
  float beta = 0.9f, gamma = 1.0f / std::sqrt(1.0f - beta * beta);
  state.set(Vector4(1, 2, -30, 5), Vector4(gamma * beta * d, gamma));
  return state;
}

void lightConeTransformOfMesh(benchmark::State& benchmarkState, bool transformNormals) {
  const std::vector<VertexRecord>& source = sourceVertices();
  std::vector<VertexRecord> target(source.size());
  const MovingFrameState frame = movingObserver();
  for (auto _ : benchmarkState) {
    for (int i = 0; i < kVertexCount; ++i)
      lightConeTransform(frame, source[i].position, source[i].normal, transformNormals, target[i].position,
                         target[i].normal);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
  benchmarkState.SetBytesProcessed(benchmarkState.iterations() * kVertexCount * int64_t(2 * sizeof(VertexRecord)));
}

void BM_LightConeTransform(benchmark::State& state) { lightConeTransformOfMesh(state, true); }
void BM_LightConeTransformPositionOnly(benchmark::State& state) { lightConeTransformOfMesh(state, false); }

void BM_LightConeTransformBlock(benchmark::State& benchmarkState) {
  const std::vector<VertexRecord>& source = sourceVertices();
  std::vector<VertexRecord> target(source.size());
  const MovingFrameState frame = movingObserver();
  for (auto _ : benchmarkState) {
    lightConeTransformVertices(frame, source.data(), target.data(), kVertexCount, true);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
  benchmarkState.SetBytesProcessed(benchmarkState.iterations() * kVertexCount * int64_t(2 * sizeof(VertexRecord)));
}

void BM_LightConeTransformSeparateArrays(benchmark::State& benchmarkState) {
  const std::vector<VertexRecord>& source = sourceVertices();
  std::vector<float> in[6], out[6];
  for (int axis = 0; axis < 6; ++axis) {
    in[axis].resize(source.size());
    out[axis].resize(source.size());
  }
  for (std::size_t i = 0; i < source.size(); ++i)
    for (int axis = 0; axis < 3; ++axis) {
      in[axis][i] = source[i].position[axis];
      in[axis + 3][i] = source[i].normal[axis];
    }
  const MovingFrameState frame = movingObserver();
  for (auto _ : benchmarkState) {
    lightConeTransformBlock(frame, kVertexCount, in[0].data(), in[1].data(), in[2].data(), in[3].data(),
                            in[4].data(), in[5].data(), out[0].data(), out[1].data(), out[2].data(),
                            out[3].data(), out[4].data(), out[5].data());
    benchmark::DoNotOptimize(out[0].data());
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
  benchmarkState.SetBytesProcessed(benchmarkState.iterations() * kVertexCount * int64_t(2 * sizeof(VertexRecord)));
}

void BM_CopyReference(benchmark::State& benchmarkState) {
  const std::vector<VertexRecord>& source = sourceVertices();
  std::vector<VertexRecord> target(source.size());
  for (auto _ : benchmarkState) {
    for (int i = 0; i < kVertexCount; ++i) {
      target[i].position = source[i].position;
      target[i].normal = source[i].normal;
    }
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  benchmarkState.SetItemsProcessed(benchmarkState.iterations() * kVertexCount);
  benchmarkState.SetBytesProcessed(benchmarkState.iterations() * kVertexCount * int64_t(2 * sizeof(VertexRecord)));
}

BENCHMARK(BM_LightConeTransform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LightConeTransformPositionOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LightConeTransformBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LightConeTransformSeparateArrays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyReference)->Unit(benchmark::kMillisecond);

} // namespace
