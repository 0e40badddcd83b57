// Reading and converting a large scene file written the way CAD exporters
// write them (bench/large_mesh_scene.py: a 1001 × 1001-point height field,
// 1,000,000 quads with 64 colours bound per face by index and normals bound
// per vertex by an index list that differs from coordIndex over a tenth of
// the mesh, and 40,000 more quads whose normals are generated; about
// 130 MB). Measured in the same run: the read alone (open, parse, free the
// tree) and the read followed by convertScene (the display scene freed as
// well), so their ratio is the cost of the conversion on top of the parse.
// Times are wall clock, one iteration per repetition.
//
// The file is written by the Python script at the start of the run, into a
// temporary file that is removed at the end; with QUILLMERE_LARGE_MESH=FILE
// that file is used instead, and written first when it does not exist yet.
//
//   scene_conversion_benchmark --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//
// Peak memory of the same two steps, in the quillmere-check tool:
//
//   python3 bench/large_mesh_scene.py /tmp/large_mesh.wrl
//   /usr/bin/time -v build/bin/quillmere-check /tmp/large_mesh.wrl            (Maximum resident set size)
//   /usr/bin/time -v build/bin/quillmere-check --convert /tmp/large_mesh.wrl
#include "display/group.h"
#include "scene/scene_conversion.h"
#include "vrml/file_paths.h"
#include "vrml/input_file.h"
#include "vrml/node.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillmere;

namespace {

// The scene file for the whole run; empty `path` when it could not be written.
struct LargeMeshFile {
  std::string path;
  bool temporary = false; // written for this run only: removed at the end
  long long bytes = 0;

  LargeMeshFile() {
    if (const char* given = std::getenv("QUILLMERE_LARGE_MESH")) {
      path = given;
    } else {
      char name[] = "/tmp/quillmere_large_mesh_XXXXXX";
      int descriptor = mkstemp(name);
      if (descriptor < 0) return;
      close(descriptor);
      path = name;
      temporary = true;
    }
    struct stat status;
    if (temporary || stat(path.c_str(), &status) != 0) {
      std::fprintf(stderr, "writing %s with large_mesh_scene.py\n", path.c_str());
      std::string command = "python3 '" QUILLMERE_LARGE_MESH_SCRIPT "' '" + path + "'";
      if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "large_mesh_scene.py failed\n");
        path.clear();
        return;
      }
    }
    if (stat(path.c_str(), &status) == 0) bytes = status.st_size;
  }
  ~LargeMeshFile() {
    if (temporary && !path.empty()) std::remove(path.c_str());
  }
};

const LargeMeshFile& largeMesh() {
  static const LargeMeshFile file;
  return file;
}

// The file's tree, holding one reference; null when it did not read.
QvNode* readTree(const std::string& path) {
  QvNodeHandle root;
  return QvScene::readFile(path, root) ? root.release() : nullptr;
}

void BM_ReadLargeMesh(benchmark::State& state) {
  const LargeMeshFile& scene = largeMesh();
  if (scene.path.empty()) return state.SkipWithError("the large mesh scene could not be written");
  for (auto _ : state) {
    QvNode* root = readTree(scene.path);
    if (!root) return state.SkipWithError("the large mesh scene did not read");
    benchmark::DoNotOptimize(root);
    root->unref();
  }
  state.counters["MB"] = double(scene.bytes) / 1e6;
}

void BM_ReadAndConvertLargeMesh(benchmark::State& state) {
  const LargeMeshFile& scene = largeMesh();
  if (scene.path.empty()) return state.SkipWithError("the large mesh scene could not be written");
  ConversionOptions options;
  options.sceneFolder = folderOf(scene.path);
  long triangles = 0;
  for (auto _ : state) {
    QvNode* root = readTree(scene.path);
    if (!root) return state.SkipWithError("the large mesh scene did not read");
    {
      DvGroup sceneRoot;
      ConversionResult result = convertScene(*root, sceneRoot, options);
      if (!result.ok) {
        root->unref();
        return state.SkipWithError("the large mesh scene did not convert");
      }
      triangles = result.summary.triangles;
      benchmark::DoNotOptimize(sceneRoot);
    }
    root->unref();
  }
  state.counters["triangles"] = double(triangles);
}

BENCHMARK(BM_ReadLargeMesh)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ReadAndConvertLargeMesh)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
