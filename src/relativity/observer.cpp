#include "relativity/observer.h"

#include "diagnostics/diagnostics.h"
#include "relativity/lorentz.h"

#include <cmath>

namespace quillmere {

namespace {

const Vector3 kLocalUp(0, 1, 0);

// The flight frame for direction d, keeping the local up `upHint` where it
// can. A hint parallel to d leaves no sideways axis; only then the start-up
// rule (world up, or world z when flying vertically) picks one.
Matrix4 flightFrame(const Vector3& d, const Vector3& upHint) {
  if (cross(d, upHint.normalized()).length() > 1e-6f) return lookAt(d, upHint);
  return lookAtGuarded(d, kLocalUp, Vector3(0, 0, 1));
}

} // namespace

RelObserver::RelObserver(float x, float y, float z, float startProperTime, float speed, float dx, float dy,
                         float dz) {
  init(x, y, z, startProperTime, speed, dx, dy, dz);
  snapshot();
}

void RelObserver::init(float x, float y, float z, float startProperTime, float speed, float dx, float dy,
                       float dz) {
  // Reject what would make γ or d non-finite.
  if (!(speed >= 0.0f && speed < 1.0f)) {
    printWarning("RelObserver::init(): speed %g is not in [0, 1), using 0\n", double(speed));
    speed = 0.0f;
  }
  Vector3 direction(dx, dy, dz);
  if (direction.normalize()) {
    flightDirection_ = direction;
  } else {
    printWarning("RelObserver::init(): zero flight direction, keeping (%g, %g, %g)\n",
                 double(flightDirection_.x), double(flightDirection_.y), double(flightDirection_.z));
  }

  setSpeed(speed);
  turnRate_ = 0.0f;
  acceleration_ = 0.0f;
  properTime_ = startProperTime;
  setEvent(Vector4d(x, y, z, gamma_ * startProperTime));
  eyeEvent_ = event_;
  fourVelocity_ = Vector4(float(gamma_ * speed_) * flightDirection_, float(gamma_));

  flightOrientation_ = lookAtGuarded(flightDirection_, kLocalUp, Vector3(0, 0, 1));
  headRotation_ = Matrix4::identity();
  viewMatrix_ = flightOrientation_;
  // The local up carried into world axes with the inverse (transposed)
  // rotation, as every update does, so init and update agree for any direction.
  upDirection_ = flightOrientation_.transformPointTransposed(kLocalUp);
  upDirection_.normalize();
}

namespace {

// Stores (x, y, z) normalised; a zero vector is reported and `target` kept.
void storeUnitVector(Vector3& target, float x, float y, float z, const char* zeroMessage) {
  Vector3 direction(x, y, z);
  if (!direction.normalize()) {
    printWarning("%s", zeroMessage);
    return;
  }
  target = direction;
}

} // namespace

void RelObserver::setFlightDirection(float x, float y, float z) {
  storeUnitVector(flightDirection_, x, y, z, "RelObserver::setFlightDirection(): division by zero\n");
}

void RelObserver::setUpDirection(float x, float y, float z) {
  storeUnitVector(upDirection_, x, y, z, "RelObserver::setUpDirection(): division by zero\n");
}

void RelObserver::setAcceleration(float acceleration, float turnRate) {
  acceleration_ = acceleration;
  turnRate_ = turnRate;
  applySpeedLimits();
  if (acceleration_ > 1.0f) acceleration_ = 1.0f;
  if (acceleration_ < -1.0f) acceleration_ = -1.0f;
  // A turn rate beyond ±2 falls back to ±1, not to ±2.
  if (turnRate_ > 2.0f) turnRate_ = 1.0f;
  if (turnRate_ < -2.0f) turnRate_ = -1.0f;
}

void RelObserver::adjustControls(float accelerationChange, float turnRateChange) {
  acceleration_ += accelerationChange;
  turnRate_ += turnRateChange;
}

void RelObserver::applySpeedLimits() {
  const float beta = speed();
  if (beta > 0.999f && acceleration_ > 0.0f) acceleration_ = 0.0f; // no thrust this close to c
  if (beta < 0.1f && acceleration_ < 0.0f) acceleration_ = 0.0f;   // no braking through rest
  if (beta < 0.1f) turnRate_ = 0.0f;                               // no turning on the spot
}

void RelObserver::yaw(float angle) { headRotation_.preMultiply(Matrix4::rotation(0, 1, 0, angle)); }

void RelObserver::pitch(float angle) { headRotation_.preMultiply(Matrix4::rotation(1, 0, 0, angle)); }

void RelObserver::roll(float angle) { flightOrientation_.preMultiply(Matrix4::rotation(0, 0, 1, -angle)); }

void RelObserver::setMatrices(const Matrix4& flightOrientation, const Matrix4& headRotation) {
  flightOrientation_ = flightOrientation;
  headRotation_ = headRotation;
  viewMatrix_ = multiply(headRotation_, flightOrientation_);
}

void RelObserver::setEyeOffset(float offset) {
  // The eye sits at −offset along the viewer's local x axis, simultaneous
  // with the observer in the observer's own rest frame: the event (Δ, 0)
  // there. Its world coordinates come from the inverse boost,
  // (Δ + (γ−1)(d·Δ)·d, +γβ·d·Δ): an eye separation along the flight
  // direction is stretched by γ, and the eye's world time leads by γβ·d·Δ.
  Vector3 offsetWorld = viewMatrix_.transformPointTransposed(Vector3(-offset, 0, 0));
  const Vector3& d = flightDirection_;
  float along = dot(d, offsetWorld), beta = speed(), gammaFactor = gamma();
  Vector4 inWorld(offsetWorld + (gammaFactor - 1.0f) * along * d, gammaFactor * beta * along);
  eyeEvent_ = event_ + inWorld;
}

void RelObserver::snapshot() {
  snapshotEvent_ = event_;
  snapshotSpeed_ = speed();
  snapshotGamma_ = gamma();
  snapshotDirection_ = flightDirection_;
}

void RelObserver::setSpeed(float speed) {
  speed_ = speed;
  gamma_ = 1.0 / std::sqrt(1.0 - speed_ * speed_);
}

void RelObserver::setEvent(const Vector4d& event) {
  eventPrecise_ = event;
  event_ = event.toFloat();
  eyeEvent_ = event_; // the eye comes along; setEyeOffset places a stereo eye again
}

void RelObserver::update(double properTime) {
  double step = properTime - properTime_; // Δτ
  const Vector3 d = flightDirection_;

  // The 4-velocity at the start of the step.
  double gammaBeta = gamma_ * speed_;
  fourVelocity_ = Vector4(float(gammaBeta * d.x), float(gammaBeta * d.y), float(gammaBeta * d.z), float(gamma_));

  // Euler step of the spatial 4-velocity: proper acceleration α along d
  // (d(γβ)/dτ = α·γ) and the turn ω about the up direction.
  Vector3 side = cross(d, upDirection_);
  double forward = acceleration_ * gamma_;
  double u[3];
  for (int i = 0; i < 3; ++i) u[i] = gammaBeta * d[i] + step * (forward * d[i] + double(turnRate_) * side[i]);

  // The event moves with the old 4-velocity, in double: in float, 10⁵ steps
  // at β = 0.99 would leave it 13 units off after 70 000.
  const Vector4d& e = eventPrecise_;
  setEvent(Vector4d(e.x + gammaBeta * d.x * step, e.y + gammaBeta * d.y * step, e.z + gammaBeta * d.z * step,
                    e.t + gamma_ * step));
  eyeEvent_ = event_;
  properTime_ = properTime;

  // New speed and direction from the new 4-velocity. With none left there
  // is no direction to take: keep d and the orientation, and rest exactly.
  double length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
  if (length > 0.0) {
    double gamma = std::sqrt(length * length + 1.0);
    speed_ = length / gamma;
    gamma_ = gamma;
    flightDirection_ = Vector3(float(u[0] / length), float(u[1] / length), float(u[2] / length));
    // The current local up in world axes, so an earlier roll carries over.
    Vector3 upHint = flightOrientation_.transformPointTransposed(kLocalUp);
    flightOrientation_ = flightFrame(flightDirection_, upHint);
  } else {
    speed_ = 0.0;
    gamma_ = 1.0;
  }
  viewMatrix_ = multiply(headRotation_, flightOrientation_);
  upDirection_ = flightOrientation_.transformPointTransposed(kLocalUp);
  upDirection_.normalize();

  applySpeedLimits();
}

} // namespace quillmere
