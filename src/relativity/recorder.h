// A fixed store of observer states (sub-frames) along the observer's world
// line within one animation step, recorded in order and replayed one by one
// for a time-exposed (motion-blurred) image.
#pragma once

#include "relativity/matrix.h"
#include "relativity/vector.h"

namespace quillmere {

class RelObserver;

struct SubFrame {
  Vector4 event;                    // world coordinates, time last
  float speed = 0;                  // β
  Vector3 flightDirection{0, 0, 1}; // unit d
  Vector3 upDirection;              // unit up, world axes
  Vector4 fourVelocity{0, 0, 0, 1}; // (γβ·d, γ)
  Matrix4 flightOrientation;        // world → flight frame
  Matrix4 headRotation;             // head turn inside the flight frame
};

class RelRecorder {
public:
  static constexpr int kCapacity = 100;       // records built once, never grown
  static constexpr int kMaxSubFrames = 99;    // at most this many are ever recorded

  void clearSubFrames() { cursor_ = count_ = 0; }
  // Records the observer's present state. A 100th sub-frame without a clear
  // in between is a fatal report.
  void addSubFrame(const RelObserver& observer);
  void rewind() { cursor_ = 0; }
  // Copies the next recorded state into the observer; false when all are replayed.
  bool restoreNextSubFrame(RelObserver& observer);

  int count() const { return count_; }
  const SubFrame& subFrame(int index) const { return subFrames_[index]; }

private:
  int cursor_ = 0;                  // the next sub-frame to replay
  int count_ = 0;                   // sub-frames recorded
  SubFrame subFrames_[kCapacity];
};

} // namespace quillmere
