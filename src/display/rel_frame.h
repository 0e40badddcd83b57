// A frame of reference in the display list: the objects drawn after it rest
// in an inertial frame whose origin is at `translation` (scene units, at
// world time 0) and which moves with `velocity` (fractions of light speed,
// |velocity| < 1) relative to the world. Once per frame and per eye it
// carries the observer's event and 4-velocity into its own coordinates and
// publishes the result to the shapes after it through the frame holder.
#pragma once

#include "display/display_node.h"
#include "relativity/frame_transformation.h"

namespace quillmere {

class RelFrame : public DvNode {
public:
  RelFrame(const Vector3& translation, const Vector3& velocity);

  // Replaces translation and velocity, rebuilding the frame transformation.
  void set(const Vector3& translation, const Vector3& velocity);

  const Vector3& translation() const { return transformation_.translation(); }
  const Vector3& velocity() const { return transformation_.velocity(); }
  const FrameTransformation& transformation() const { return transformation_; }

  // Writes "RelFrame" with translation and velocity.
  void print() const;
  void render(const DvRenderState&, const DrawPass&) override {}
  // Updates the frame transformation with the observer and puts it in the
  // holder; dumps itself only when the render state asks for tracing.
  void relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                             FrameHolder& frameHolder) override;
  int getType() const override { return FrameType; }

private:
  FrameTransformation transformation_; // boost, translation event and the observer seen from this frame
};

} // namespace quillmere
