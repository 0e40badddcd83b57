#include "scene/display_budget.h"

#include "diagnostics/diagnostics.h"
#include "display/group.h"
#include "display/indexed_face_set.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

bool DisplayBudget::admit(long vertices) {
  if (displayVertices_ + vertices <= maxDisplayVertices_) {
    displayVertices_ += vertices;
    return true;
  }
  spent_ = true;
  printWarning("The scene converts to more than %ld display vertices; the rest is left out\n", maxDisplayVertices_);
  return false;
}

long DisplayBudget::room() const { return std::max(0L, maxDisplayVertices_ - displayVertices_); }

void DisplayBudget::subdivide(DvIndexedFaceSet& faceSet) {
  if (maxEdgeLength_ <= 0.0f) return;
  const long before = faceSet.vertexCount();
  const bool complete = faceSet.subdivide(maxEdgeLength_, std::size_t(before + room()));
  displayVertices_ += faceSet.vertexCount() - before;
  if (!complete && !warnedSubdivision_) {
    warnedSubdivision_ = true;
    printWarning("Subdividing stopped at %ld display vertices; some edges stay longer than %g\n", maxDisplayVertices_,
                 double(maxEdgeLength_));
  }
}

void subdivideScene(DvGroup& root, DisplayBudget& budget) {
  for (int i = 0; i < root.getNumChildren(); ++i) {
    DvNode* child = root.getChild(i);
    if (child->getType() == DvNode::IndexedFaceSetType) {
      auto* faceSet = static_cast<DvIndexedFaceSet*>(child);
      budget.subdivide(*faceSet);
      faceSet->resetTransformedVertices();
    } else if (auto* group = dynamic_cast<DvGroup*>(child)) {
      subdivideScene(*group, budget);
    }
  }
}

float automaticEdgeLength(const DvGroup& root) {
  Vector3 min, max;
  if (!root.getBoundingBox(min, max)) return 0.0f;
  const Vector3 diagonal = max - min;
  const float radius = 0.5f * std::sqrt(diagonal.x * diagonal.x + diagonal.y * diagonal.y + diagonal.z * diagonal.z);
  return std::isfinite(radius) ? radius / 64.0f : 0.0f;
}

} // namespace quillmere
