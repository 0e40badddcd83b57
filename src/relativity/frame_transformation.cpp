#include "relativity/frame_transformation.h"

#include "relativity/observer.h"

namespace quillmere {

void MovingFrameState::set(const Vector4& eventInFrame, const Vector4& fourVelocityInFrame) {
  event = eventInFrame;
  direction = fourVelocityInFrame.spatial();
  float gammaBeta = direction.length();
  direction.normalize(); // stays zero when the observer rests in this frame
  if (fourVelocityInFrame.t > 0.0f) {
    gamma = fourVelocityInFrame.t;
    speed = gammaBeta / gamma;
  } else {
    gamma = 1.0f;
    speed = 0.0f;
    direction = Vector3();
  }
}

FrameTransformation::FrameTransformation(const Vector3& translation, const Vector3& velocity)
    : translation_(translation), translationEvent_(translation, 0.0f) {
  setVelocity(velocity);
  state_.set(translationEvent_, Vector4(0, 0, 0, 1));
}

void FrameTransformation::setVelocity(const Vector3& velocity) {
  velocity_ = velocity;
  boost_ = boost(velocity.length(), velocity);
}

void FrameTransformation::update(const RelObserver& observer) {
  Vector4 fourVelocity = observer.fourVelocity();
  Vector4 event = observer.event();
  boost_.transform4(fourVelocity);
  boost_.transform4(event);
  state_.set(event + translationEvent_, fourVelocity);
}

} // namespace quillmere
