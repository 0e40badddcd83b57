#include "relativity/frame_transformation.h"

#include "relativity/observer.h"

#include <cmath>

namespace quillmere {

namespace {

// The state's speed, γ and direction from a 4-velocity in the frame.
void setMotion(MovingFrameState& state, const Vector4& fourVelocityInFrame) {
  state.direction = fourVelocityInFrame.spatial();
  float gammaBeta = state.direction.length();
  state.direction.normalize(); // stays zero when the observer rests in this frame
  if (fourVelocityInFrame.t > 0.0f) {
    state.gamma = fourVelocityInFrame.t;
    state.speed = gammaBeta / state.gamma;
  } else {
    state.gamma = 1.0f;
    state.speed = 0.0f;
    state.direction = Vector3();
  }
}

// v − float(v): what the float rounding of v leaves out. It is far below the
// float's resolution of v, so a float holds it to full relative precision.
// Kept out of line on purpose: GCC 12's SLP vectorizer folds the pair
// (double)(float)x back to x when it computes two of these side by side, and
// the residuals silently become 0.
[[gnu::noinline]] float roundingResidual(double value) { return float(value - double(float(value))); }

} // namespace

void MovingFrameState::set(const Vector4& eventInFrame, const Vector4& fourVelocityInFrame) {
  event = eventInFrame;
  eventLow = Vector3();
  setMotion(*this, fourVelocityInFrame);
}

void MovingFrameState::set(const Vector4d& eventInFrame, const Vector4& fourVelocityInFrame) {
  event = eventInFrame.toFloat();
  eventLow = Vector3(roundingResidual(eventInFrame.x), roundingResidual(eventInFrame.y),
                     roundingResidual(eventInFrame.z));
  setMotion(*this, fourVelocityInFrame);
}

FrameTransformation::FrameTransformation(const Vector3& translation, const Vector3& velocity)
    : translation_(translation), translationEvent_(translation, 0.0f) {
  setVelocity(velocity);
  state_.set(translationEvent_, Vector4(0, 0, 0, 1));
}

void FrameTransformation::setVelocity(const Vector3& velocity) {
  velocity_ = velocity;
  boost_ = boost(velocity.length(), velocity);

  // The same boost with every entry in double: x' = x + (γ−1)(n·x)·n − γβ·t·n,
  // t' = γ·(t − β·n·x). Identity for a frame (nearly) at rest, as above.
  double beta = std::sqrt(double(velocity.x) * velocity.x + double(velocity.y) * velocity.y +
                          double(velocity.z) * velocity.z);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) boostPrecise_[i][j] = i == j ? 1.0 : 0.0;
  if (beta < 1e-10) return;
  double n[3] = {velocity.x / beta, velocity.y / beta, velocity.z / beta};
  double gamma = 1.0 / std::sqrt(1.0 - beta * beta);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) boostPrecise_[i][j] += (gamma - 1.0) * n[i] * n[j];
    boostPrecise_[i][3] = boostPrecise_[3][i] = -gamma * beta * n[i];
  }
  boostPrecise_[3][3] = gamma;
}

void FrameTransformation::update(const RelObserver& observer) {
  // The 4-velocity only sets directions and speeds: float is enough.
  Vector4 fourVelocity = observer.fourVelocity();
  boost_.transform4(fourVelocity);

  // Boost the observer's eye event into the frame in double: one stereo
  // eye stands beside the observer (the offset is exactly 0 otherwise).
  const Vector4& eye = observer.eyeEvent();
  const Vector4& at = observer.event();
  const Vector4d e = observer.eventPrecise() +
                     Vector4d(Vector4(eye.spatial() - at.spatial(), eye.t - at.t));
  const double world[4] = {e.x, e.y, e.z, e.t};
  double inFrame[4];
  for (int i = 0; i < 4; ++i)
    inFrame[i] = boostPrecise_[i][0] * world[0] + boostPrecise_[i][1] * world[1] + boostPrecise_[i][2] * world[2] +
                 boostPrecise_[i][3] * world[3];
  Vector4d event(inFrame[0], inFrame[1], inFrame[2], inFrame[3]);
  state_.set(event + Vector4d(translationEvent_), fourVelocity);
}

} // namespace quillmere
