#include "relativity/recorder.h"

#include "diagnostics/diagnostics.h"
#include "relativity/observer.h"

namespace quillmere {

void RelRecorder::addSubFrame(const RelObserver& observer) {
  if (count_ >= kMaxSubFrames) printFatal("RelRecorder::addSubFrame(): ran out of sub frames\n");
  cursor_ = count_;
  SubFrame& s = subFrames_[count_];
  s.event = observer.event();
  s.speed = observer.speed();
  s.flightDirection = observer.flightDirection();
  s.upDirection = observer.upDirection();
  s.fourVelocity = observer.fourVelocity();
  s.flightOrientation = observer.flightOrientation();
  s.headRotation = observer.headRotation();
  ++cursor_;
  ++count_;
}

bool RelRecorder::restoreNextSubFrame(RelObserver& observer) {
  if (cursor_ >= count_) return false;
  const SubFrame& s = subFrames_[cursor_];
  observer.setFlightDirection(s.flightDirection.x, s.flightDirection.y, s.flightDirection.z);
  observer.setSpeed(s.speed);
  observer.setEvent(s.event);
  observer.setMatrices(s.flightOrientation, s.headRotation);
  observer.setUpDirection(s.upDirection.x, s.upDirection.y, s.upDirection.z);
  observer.setFourVelocity(s.fourVelocity);
  ++cursor_;
  return true;
}

} // namespace quillmere
