#include "display/group.h"

#include <algorithm>

namespace quillmere {

DvNode* DvGroup::append(std::unique_ptr<DvNode> child) {
  children_.push_back(std::move(child));
  return children_.back().get();
}

void DvGroup::render(const DvRenderState& state, const DrawPass& pass) {
  for (auto& child : children_) child->render(state, pass);
}

void DvGroup::relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                                    FrameHolder& frameHolder) {
  for (auto& child : children_) child->relativisticTransform(observer, state, pass, frameHolder);
}

void DvGroup::renderSoftware(const DvRenderState& state, const DrawPass& pass) {
  for (auto& child : children_) child->renderSoftware(state, pass);
}

void DvGroup::countPrimitives(long& fewestVertices, long& mostVertices, long& fewestIndices,
                              long& mostIndices) const {
  for (auto& child : children_) child->countPrimitives(fewestVertices, mostVertices, fewestIndices, mostIndices);
}

int DvGroup::getBoundingBox(Vector3& min, Vector3& max) const {
  int found = 0;
  for (auto& child : children_) {
    Vector3 childMin, childMax;
    if (!child->getBoundingBox(childMin, childMax)) continue;
    for (int axis = 0; axis < 3; ++axis) {
      min[axis] = found ? std::min(min[axis], childMin[axis]) : childMin[axis];
      max[axis] = found ? std::max(max[axis], childMax[axis]) : childMax[axis];
    }
    found = 1;
  }
  return found;
}

void DvGroup::computeAreaRatios() {
  for (auto& child : children_) child->computeAreaRatios();
}

void DvGroup::compileTexture(DvRenderState& state) {
  for (auto& child : children_) child->compileTexture(state);
}

} // namespace quillmere
