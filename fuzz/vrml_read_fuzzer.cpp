// libFuzzer target for the top-level read of a scene file, the walk over what
// it built and its conversion into a display scene (without drawing): any
// byte string, read as a scene, must end in success or a reported failure,
// never in a crash, a hang, an out-of-bounds access or a leak. The converted
// scene is also transformed for a moving observer, so bad indices, budgets
// and physical values reach the per-vertex code.
#include "display/group.h"
#include "scene/scene_conversion.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"
#include "vrml/group.h"
#include "vrml/input_file.h"
#include "vrml/node.h"
#include "vrml/state.h"

#include <cstdint>
#include <cstdio>

using namespace quillmere;

namespace {

// A smaller vertex budget than the viewer's keeps each input fast.
constexpr long kFuzzVertexBudget = 1000000;

void convertAndTransform(QvNode& root) {
  DvGroup sceneRoot;
  convertScene(root, sceneRoot, kFuzzVertexBudget);
  RelObserver observer(0.5f, 0.25f, -3, 0, 0.9f, 0.2f, 0.1f, 1);
  DvRenderState state;
  state.softwareShading = 1;
  state.colourShift = ColourShift::Searchlight; // area ratios as well as Doppler factors
  state.lodScale = 1;
  FrameHolder holder;
  sceneRoot.relativisticTransform(observer, state, DrawPass(state), holder);
  long counts[4] = {};
  sceneRoot.countPrimitives(counts[0], counts[1], counts[2], counts[3]);
  Vector3 min, max;
  sceneRoot.getBoundingBox(min, max);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static char empty[1];
  std::FILE* file = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "r") : fmemopen(empty, 1, "r");
  if (!file) return 0;
  if (size == 0) std::fgetc(file); // an empty stream
  {
    QvInputFile in;
    in.setFilePointer(file);
    // Half the inputs are read as the viewer reads them, skipping what it
    // does not know; the strict reader takes the other half.
    if (size > 0 && (data[size - 1] & 1)) in.setLenient("fuzz.wrl");
    QvNode* root = nullptr;
    if (QvScene::read(in, root) && root) {
      countDistinctNodes(root);
      {
        QvState state; // the walk alone, keeping the traversal state
        root->traverse(state);
      }
      convertAndTransform(*root);
      root->unref();
    }
  }
  std::fclose(file);
  return 0;
}
