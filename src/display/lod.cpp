#include "display/lod.h"

#include "relativity/lorentz.h"
#include "gl/render_state.h"

namespace quillmere {

DvLOD::DvLOD(const Vector3& centre, std::vector<float> ranges) : centre_(centre), ranges_(std::move(ranges)) {}

void DvLOD::setTransformation(const Matrix4& modelling) { centre_ = modelling.transformPoint(centre_); }

int DvLOD::chooseLevel(float distance) const {
  if (ranges_.empty()) return 0;
  for (std::size_t i = 0; i < ranges_.size(); ++i)
    if (distance <= ranges_[i]) return int(i);
  return int(ranges_.size()) - 1;
}

DvNode* DvLOD::currentChild() const {
  return currentLevel_ >= 0 && currentLevel_ < getNumChildren() ? getChild(currentLevel_) : nullptr;
}

void DvLOD::relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                                  FrameHolder& frameHolder) {
  // Where the observer sees the centre, as seen from the frame it rests in.
  Vector3 apparent;
  if (frameHolder.frame) {
    Vector3 unusedNormal;
    lightConeTransform(frameHolder.frame->state(), centre_, Vector3(), false, apparent, unusedNormal);
  } else {
    apparent = apparentPoint(observer, centre_);
  }
  currentLevel_ = chooseLevel(apparent.length() * state.lodScale);
  if (DvNode* child = currentChild()) child->relativisticTransform(observer, state, pass, frameHolder);
}

void DvLOD::render(const DvRenderState& state, const DrawPass& pass) {
  if (DvNode* child = currentChild()) child->render(state, pass);
}

void DvLOD::renderSoftware(const DvRenderState& state, const DrawPass& pass) {
  if (DvNode* child = currentChild()) child->renderSoftware(state, pass);
}

void DvLOD::computeAreaRatios() {
  if (DvNode* child = currentChild()) child->computeAreaRatios();
}

void DvLOD::countPrimitives(long& fewestVertices, long& mostVertices, long& fewestIndices,
                            long& mostIndices) const {
  if (getNumChildren() == 0) return;
  long unused0 = 0, unused1 = 0;
  getChild(0)->countPrimitives(unused0, mostVertices, unused1, mostIndices);
  long unused2 = 0, unused3 = 0;
  getChild(getNumChildren() - 1)->countPrimitives(fewestVertices, unused2, fewestIndices, unused3);
}

} // namespace quillmere
