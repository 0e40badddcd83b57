// Importing one mesh of 1,000,000 triangles (bench/million_triangle_model.py:
// a height field of 501,501 points with a normal each) from glTF and from
// OBJ through Assimp, against reading and converting the same mesh as a
// VRML scene file, in the same run. Each iteration builds the display scene
// and frees it; wall clock, one iteration per repetition:
//
//   model_import_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// The files are written by the Python script at the start of the run into a
// temporary folder, which is removed at the end; with
// QUILLMERE_MODEL_FOLDER=DIR that folder is used (and written first when it
// has no mesh.gltf yet).
#include "display/group.h"
#include "scene/scene_conversion.h"
#include "scene/model_import.h"
#include "vrml/input_file.h"
#include "vrml/node.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

using namespace quillmere;

namespace {

struct ModelFolder {
  std::string path;
  bool temporary = false;

  ModelFolder() {
    if (const char* given = std::getenv("QUILLMERE_MODEL_FOLDER")) {
      path = given;
    } else {
      char name[] = "/tmp/quillmere_models_XXXXXX";
      if (!mkdtemp(name)) return;
      path = name;
      temporary = true;
    }
    struct stat status;
    if (stat((path + "/mesh.gltf").c_str(), &status) != 0) {
      std::fprintf(stderr, "writing %s with million_triangle_model.py\n", path.c_str());
      const std::string command = "python3 '" QUILLMERE_MODEL_SCRIPT "' '" + path + "'";
      if (std::system(command.c_str()) != 0) path.clear();
    }
  }
  ~ModelFolder() {
    if (!temporary || path.empty()) return;
    for (const char* name : {"/mesh.gltf", "/mesh.bin", "/mesh.obj", "/mesh.wrl"}) std::remove((path + name).c_str());
    std::remove(path.c_str());
  }
};

const ModelFolder& folder() {
  static ModelFolder models;
  return models;
}

void importFile(benchmark::State& state, const char* name) {
  if (folder().path.empty()) return state.SkipWithError("the model files could not be written");
  const std::string path = folder().path + name;
  long triangles = 0;
  for (auto _ : state) {
    DvGroup root;
    ConversionResult result = importModel(path, root, ConversionOptions());
    if (!result.ok) return state.SkipWithError(result.error.c_str());
    triangles = result.summary.triangles;
  }
  state.counters["triangles"] = double(triangles);
}

void BM_ImportGltf(benchmark::State& state) { importFile(state, "/mesh.gltf"); }
void BM_ImportObj(benchmark::State& state) { importFile(state, "/mesh.obj"); }

void BM_ReadAndConvertVrml(benchmark::State& state) {
  if (folder().path.empty()) return state.SkipWithError("the model files could not be written");
  const std::string path = folder().path + "/mesh.wrl";
  long triangles = 0;
  for (auto _ : state) {
    QvNodeHandle fileRoot;
    if (!QvScene::readFile(path, fileRoot)) return state.SkipWithError("the VRML mesh did not read");
    DvGroup root;
    ConversionResult result = convertScene(*fileRoot, root, ConversionOptions());
    triangles = result.summary.triangles;
  }
  state.counters["triangles"] = double(triangles);
}

BENCHMARK(BM_ImportGltf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ImportObj)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ReadAndConvertVrml)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
