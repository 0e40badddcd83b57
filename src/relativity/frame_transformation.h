// The observer as seen from the rest frame of a moving object: its event and
// velocity carried into the coordinates in which the object's vertices are
// at rest. Units c = 1; velocities are fractions of c.
#pragma once

#include "relativity/matrix.h"
#include "relativity/vector.h"

namespace quillmere {

class RelObserver;

struct MovingFrameState {
  Vector4 event;     // the observer's event in the object's rest coordinates, rounded to float
  Vector3 eventLow;  // the spatial rounding residual: exact event − event.spatial(); 0 for a float event
  float speed = 0;   // β' of the observer relative to the object
  float gamma = 1;   // γ' = 1/√(1−β'²)
  Vector3 direction; // unit d' of the observer's motion relative to the object; zero when β' = 0

  // From the observer's event and 4-velocity (γ'β'·d', γ'), both already in
  // the object's rest coordinates. A 4-velocity with no positive time part
  // (the zero placeholder of a frame not yet updated) is taken as rest.
  // A float event is exact as it is: the residual is 0.
  void set(const Vector4& eventInFrame, const Vector4& fourVelocityInFrame);
  // A double event is split into its float rounding and the float residual,
  // so that offsets from it keep their detail far from the origin.
  void set(const Vector4d& eventInFrame, const Vector4& fourVelocityInFrame);

  // r = P − E' for a point P in the object's rest coordinates. Subtracting
  // the two parts one after the other keeps the offset of a vertex near the
  // observer accurate even 10⁵ units from the origin: P − high is exact there
  // (Sterbenz), and the small residual is taken off the small difference.
  Vector3 offsetTo(const Vector3& point) const { return (point - event.spatial()) - eventLow; }
};

// Owned by a frame of reference: its translation and velocity in the world,
// the boost from world coordinates into its rest coordinates, and the
// observer's state in those coordinates, refreshed once per frame.
class FrameTransformation {
public:
  // A frame whose origin is at `translation` at world time 0, moving with
  // `velocity` (|velocity| < 1). Until the first update the state holds the
  // translation event and rest.
  FrameTransformation(const Vector3& translation = Vector3(), const Vector3& velocity = Vector3());

  // Rebuilds the boost for the new velocity.
  void setVelocity(const Vector3& velocity);

  // Carries the observer's event (not the eye event) and its stored
  // 4-velocity into the frame's rest coordinates, adds the translation
  // event, and sets the state from the two. The event is boosted in double:
  // a float boost of an event 10⁵ units out would move it by 1/100 unit.
  void update(const RelObserver& observer);

  const Vector3& translation() const { return translation_; }
  const Vector3& velocity() const { return velocity_; }
  const MovingFrameState& state() const { return state_; }

private:
  Vector3 translation_;        // the frame's origin in the world at world time 0
  Vector3 velocity_;           // the frame's velocity in the world
  Matrix4 boost_;              // world coordinates → the frame's rest coordinates
  double boostPrecise_[4][4];  // the same boost in double, row-major, for the observer's event
  Vector4 translationEvent_;   // (translation, 0)
  MovingFrameState state_;     // the observer as seen from this frame
};

} // namespace quillmere
