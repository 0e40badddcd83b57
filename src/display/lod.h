// Level of detail: a group with one level group per scene-file child, of
// which only one takes part in each frame. The level is chosen from the
// distance at which the observer sees the centre — its apparent position
// after light-travel time and aberration, not its distance in the world —
// times the render state's lodScale.
#pragma once

#include "display/group.h"
#include "relativity/matrix.h"

#include <vector>

namespace quillmere {

class DvLOD : public DvGroup {
public:
  // `ranges` in file order (ascending expected, not checked); with none the
  // first level is always shown.
  DvLOD(const Vector3& centre, std::vector<float> ranges);

  // Carries the centre into world coordinates.
  void setTransformation(const Matrix4& modelling);

  // The first i with distance ≤ range[i]; the last level beyond every range;
  // 0 without ranges.
  int chooseLevel(float distance) const;

  int currentLevel() const { return currentLevel_; }
  const Vector3& centre() const { return centre_; }
  const std::vector<float>& ranges() const { return ranges_; }

  void render(const DvRenderState& state) override;
  // Chooses the level from the apparent centre, then transforms that level only.
  void relativisticTransform(const RelObserver& observer, const DvRenderState& state,
                             FrameHolder& frameHolder) override;
  void renderSoftware(const DvRenderState& state) override;
  // The finest level adds to the "most" counters, the coarsest to the "fewest".
  void countPrimitives(long& fewestVertices, long& mostVertices, long& fewestIndices,
                       long& mostIndices) const override;
  void computeAreaRatios() override;

private:
  DvNode* currentChild() const;

  int currentLevel_ = 0;     // chosen by the last transform
  Vector3 centre_;           // world coordinates after setTransformation
  std::vector<float> ranges_; // scene units, file order
};

} // namespace quillmere
