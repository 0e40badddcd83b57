// libFuzzer target for the model importer: the first byte chooses the
// format Assimp is told to expect (glTF, binary glTF, OBJ, PLY, STL,
// Collada, 3DS, FBX), the rest is the file. Any bytes must end in a scene or
// a reported failure, never in a crash, a hang, an out-of-bounds access or a
// leak; what was built is transformed for a moving observer, so whatever
// Assimp handed back reaches the per-vertex code. glTF extras are read from
// the same bytes.
#include "display/group.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"
#include "scene/model_import.h"

#include <cstdint>

using namespace quillmere;

namespace {

constexpr long kFuzzVertexBudget = 1000000; // smaller than the viewer's: each input stays fast
constexpr const char* kFormats[] = {"gltf", "glb", "obj", "ply", "stl", "dae", "3ds", "fbx"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const char* hint = kFormats[data[0] % (sizeof kFormats / sizeof kFormats[0])];
  DvGroup sceneRoot;
  ConversionOptions options;
  options.maxDisplayVertices = kFuzzVertexBudget;
  ConversionResult result = importModelFromMemory(data + 1, size - 1, hint, sceneRoot, options);
  (void)result;
  RelObserver observer(0.5f, 0.25f, -3, 0, 0.9f, 0.2f, 0.1f, 1);
  DvRenderState state;
  state.softwareShading = 1;
  state.colourShift = ColourShift::Searchlight;
  FrameHolder holder;
  sceneRoot.relativisticTransform(observer, state, DrawPass(state), holder);
  Vector3 min, max;
  sceneRoot.getBoundingBox(min, max);
  return 0;
}
