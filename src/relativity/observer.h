// The moving observer: a point camera flying through the scene below the
// speed of light. Its event is in world coordinates (x, y, z, t), c = 1,
// its speed β a fraction of c, proper time and distances in scene units.
//
// Motion is integrated with explicit Euler steps in proper time: the forward
// control α is a proper acceleration along the flight direction, the turn
// control ω bends the spatial 4-velocity sideways about the up direction.
#pragma once

#include "relativity/matrix.h"
#include "relativity/vector.h"

namespace quillmere {

class RelObserver {
public:
  // Places the observer at (x, y, z) at proper time τ0, flying with speed β
  // along (dx, dy, dz), and takes a snapshot of that state.
  RelObserver(float x, float y, float z, float startProperTime, float speed, float dx, float dy, float dz);

  // Resets the observer in place (also the viewer's reset command). The
  // event's time is γ·τ0. A speed outside [0, 1) or a zero direction cannot
  // describe a flight: both are reported, and β = 0 or the previous flight
  // direction is used instead, so no non-finite value gets in.
  void init(float x, float y, float z, float startProperTime, float speed, float dx, float dy, float dz);

  // Normalise and store; a zero vector is reported and the old value kept.
  // Nothing else (matrices, 4-velocity) is recomputed.
  void setFlightDirection(float x, float y, float z);
  void setUpDirection(float x, float y, float z);

  // Stores the controls and applies the speed-dependent limits (no thrust
  // above β = 0.999, no braking and no turning below β = 0.1) and the caps
  // |α| ≤ 1 and, for |ω| > 2, ω := ±1.
  void setAcceleration(float acceleration, float turnRate);
  void getAcceleration(float& acceleration, float& turnRate) const {
    acceleration = acceleration_;
    turnRate = turnRate_;
  }
  // Changes the controls by the given amounts without the limits of
  // setAcceleration (the arrow keys); only update's own limits apply later.
  void adjustControls(float accelerationChange, float turnRateChange);

  // Head turns inside the flight frame and roll of the flight frame itself,
  // in radians. They take effect in the view matrix at the next update (or
  // setMatrices).
  void yaw(float angle);
  void pitch(float angle);
  void roll(float angle);

  // Restores recorded orientation matrices; view matrix := head · flight.
  void setMatrices(const Matrix4& flightOrientation, const Matrix4& headRotation);

  // Places the eye event of one stereo eye (s = ∓ half the eye separation):
  // the offset −s along the viewer's local x axis, passed through the
  // observer's boost of an event. s = 0 puts the eye exactly on the event.
  void setEyeOffset(float offset);

  // Freezes event, β and d for the snapshot vertex transform.
  void snapshot();

  // One Euler step from the stored proper time to `properTime` (any step,
  // zero included). When the new spatial 4-velocity is exactly zero (at
  // rest, no thrust) the flight direction and orientation are kept and
  // β = 0, γ = 1: there is no direction to derive, and no NaN may appear.
  // The event, the proper time and the motion are integrated in double, so
  // that 10⁵ steps do not add up their rounding; a float argument converts.
  void update(double properTime);

  // Setters for a recorded state being restored; they keep γ consistent with β.
  void setSpeed(float speed);
  void setEvent(const Vector4& event) { setEvent(Vector4d(event)); }
  void setEvent(const Vector4d& event);
  void setEyeEvent(const Vector4& eyeEvent) { eyeEvent_ = eyeEvent; }
  void setFourVelocity(const Vector4& fourVelocity) { fourVelocity_ = fourVelocity; }

  const Vector4& event() const { return event_; } // rounded to float, for per-vertex code
  const Vector4d& eventPrecise() const { return eventPrecise_; }
  const Vector4& eyeEvent() const { return eyeEvent_; }
  float speed() const { return float(speed_); }
  float gamma() const { return float(gamma_); }
  const Vector3& flightDirection() const { return flightDirection_; }
  const Vector3& upDirection() const { return upDirection_; }
  float properTime() const { return float(properTime_); }
  double properTimePrecise() const { return properTime_; }
  float turnRate() const { return turnRate_; }
  float acceleration() const { return acceleration_; }
  const Vector4& fourVelocity() const { return fourVelocity_; }
  const Matrix4& flightOrientation() const { return flightOrientation_; }
  const Matrix4& headRotation() const { return headRotation_; }
  const Matrix4& viewMatrix() const { return viewMatrix_; }
  const Vector4& snapshotEvent() const { return snapshotEvent_; }
  float snapshotSpeed() const { return snapshotSpeed_; }
  float snapshotGamma() const { return snapshotGamma_; }
  const Vector3& snapshotDirection() const { return snapshotDirection_; }

private:
  void applySpeedLimits();

  Vector4d eventPrecise_;               // world coordinates, time last: the integrated event
  Vector4 event_;                       // eventPrecise_ rounded to float
  Vector4 eyeEvent_;                    // event, or offset for one stereo eye
  double speed_ = 0;                    // β, 0 ≤ β < 1
  double gamma_ = 1;                    // 1/√(1−β²)
  Vector3 flightDirection_{0, 0, 1};    // unit d: direction of motion and of view
  Vector3 upDirection_{0, 1, 0};        // unit up, world axes
  double properTime_ = 0;               // τ of the current event
  float turnRate_ = 0;                  // ω, control input
  float acceleration_ = 0;              // α, proper acceleration along d
  Vector4 fourVelocity_{0, 0, 0, 1};    // (γβ·d, γ) as of the start of the last update
  Matrix4 flightOrientation_;           // rows x, y, z of the flight frame: world → flight frame
  Matrix4 headRotation_;                // head turn inside the flight frame
  Matrix4 viewMatrix_;                  // headRotation · flightOrientation, the modelview rotation
  Vector4 snapshotEvent_;               // event frozen by snapshot()
  float snapshotSpeed_ = 0;             // β at the snapshot
  float snapshotGamma_ = 1;             // γ at the snapshot, so per-vertex work needs no square root
  Vector3 snapshotDirection_{0, 0, 1};  // d at the snapshot
};

} // namespace quillmere
