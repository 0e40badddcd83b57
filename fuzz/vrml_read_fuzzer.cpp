// libFuzzer target for the top-level read of a scene file: any byte string,
// read as a scene, must end in success or a reported failure, never in a
// crash, a hang, an out-of-bounds access or a leak.
#include "vrml/group.h"
#include "vrml/input_file.h"
#include "vrml/node.h"

#include <cstdint>
#include <cstdio>
#include <unordered_set>
#include <vector>

using namespace quillmere;

namespace {

// Distinct nodes under the root, without following a shared node twice.
std::size_t countNodes(QvNode* root) {
  std::unordered_set<QvNode*> seen;
  std::vector<QvNode*> pending{root};
  while (!pending.empty()) {
    QvNode* node = pending.back();
    pending.pop_back();
    if (!seen.insert(node).second) continue;
    if (auto* group = dynamic_cast<QvGroup*>(node))
      for (int i = 0; i < group->getNumChildren(); ++i) pending.push_back(group->getChild(i));
  }
  return seen.size();
}

} // namespace

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
      countNodes(root);
      root->unref();
    }
  }
  std::fclose(file);
  return 0;
}
