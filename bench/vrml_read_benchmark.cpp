// Scene-file read throughput on a large mesh: a Coordinate3 of 170 000 points
// and an IndexedFaceSet of as many triangles, about 10 MB of text, written
// once to a temporary file and read whole per iteration (open, top-level
// read, free). Bytes processed give MB/s. A second scene of 300 000 DEF
// names watches the name table and the DEF table, which once made such a
// file take minutes.
#include "vrml/input_file.h"
#include "vrml/node.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

using namespace quillmere;

namespace {

constexpr int kNumPoints = 170000;

std::string generateMesh() {
  std::string text = "#VRML V1.0 ascii\n# generated mesh\nSeparator {\n  Coordinate3 { point [\n";
  char line[128];
  unsigned state = 12345; // a small LCG: varied digits, same file every run
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / (1 << 24);
  };
  for (int i = 0; i < kNumPoints; ++i) {
    std::snprintf(line, sizeof line, "    %.6f %.6f %.6f,\n", next() * 100 - 50, next() * 100 - 50, next() * 100 - 50);
    text += line;
  }
  text += "  ] }\n  IndexedFaceSet { coordIndex [\n";
  for (int i = 0; i < kNumPoints; ++i) {
    std::snprintf(line, sizeof line, "    %d, %d, %d, -1,\n", i, (i + 1) % kNumPoints, (i + 7) % kNumPoints);
    text += line;
  }
  text += "  ] }\n}\n";
  return text;
}

std::string generateNames() {
  std::string text = "#VRML V1.0 ascii\nSeparator {\n";
  for (int i = 0; i < 300000; ++i) text += "  DEF node" + std::to_string(i) + " Cube {}\n";
  return text + "}\n";
}

struct SceneFile {
  std::string path;
  long bytes = 0;
  explicit SceneFile(const std::string& text) {
    char name[] = "/tmp/quillmere_bench_XXXXXX";
    int descriptor = mkstemp(name);
    path = name;
    bytes = static_cast<long>(text.size());
    std::FILE* file = fdopen(descriptor, "w");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  ~SceneFile() { std::remove(path.c_str()); }
};

void readScene(benchmark::State& state, const SceneFile& scene) {
  for (auto _ : state) {
    std::FILE* file = std::fopen(scene.path.c_str(), "r");
    QvInputFile in;
    in.setFilePointer(file);
    QvNode* root = nullptr;
    bool ok = QvScene::read(in, root);
    std::fclose(file);
    if (!ok || !root) state.SkipWithError("the generated scene did not read");
    benchmark::DoNotOptimize(root);
    if (root) root->unref();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * scene.bytes);
  state.counters["MB"] = static_cast<double>(scene.bytes) / 1e6;
}

} // namespace

void BM_ReadLargeMesh(benchmark::State& state) {
  static const SceneFile scene(generateMesh());
  readScene(state, scene);
}

void BM_ReadManyDefNames(benchmark::State& state) {
  static const SceneFile scene(generateNames());
  readScene(state, scene);
}

BENCHMARK(BM_ReadLargeMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadManyDefNames)->Unit(benchmark::kMillisecond);
