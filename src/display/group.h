// A display group: an ordered list of display nodes that it owns. The scene
// root is one; the level groups of an LOD are others. Every operation goes
// to the children in list order.
#pragma once

#include "display/display_node.h"

#include <memory>
#include <vector>

namespace quillmere {

class DvGroup : public DvNode {
public:
  DvGroup() = default;

  // Appends at the end and takes ownership; returns the node.
  DvNode* append(std::unique_ptr<DvNode> child);
  int getNumChildren() const { return int(children_.size()); }
  DvNode* getChild(int index) const { return children_[std::size_t(index)].get(); }

  void render(const DvRenderState& state, const DrawPass& pass) override;
  void relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                             FrameHolder& frameHolder) override;
  void renderSoftware(const DvRenderState& state, const DrawPass& pass) override;
  void countPrimitives(long& fewestVertices, long& mostVertices, long& fewestIndices,
                       long& mostIndices) const override;
  // The union of the children's boxes; 0 when no child has one.
  int getBoundingBox(Vector3& min, Vector3& max) const override;
  void computeAreaRatios() override;
  void compileTexture(DvRenderState& state) override;
  int getType() const override { return GroupType; }

private:
  std::vector<std::unique_ptr<DvNode>> children_; // in the order of appending
};

} // namespace quillmere
