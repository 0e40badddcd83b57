// libFuzzer target for the top-level read of a scene file and the walk over
// what it built: any byte string, read as a scene, must end in success or a
// reported failure, never in a crash, a hang, an out-of-bounds access or a leak.
#include "vrml/group.h"
#include "vrml/input_file.h"
#include "vrml/node.h"
#include "vrml/state.h"

#include <cstdint>
#include <cstdio>

using namespace quillmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QvScene::init();
  static char empty[1];
  std::FILE* file = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "r") : fmemopen(empty, 1, "r");
  if (!file) return 0;
  if (size == 0) std::fgetc(file); // an empty stream
  {
    QvInputFile in;
    in.setFilePointer(file);
    QvNode* root = nullptr;
    if (QvScene::read(in, root) && root) {
      countDistinctNodes(root);
      QvState state; // the walk alone, keeping the traversal state
      root->traverse(state);
      root->unref();
    }
  }
  std::fclose(file);
  return 0;
}
