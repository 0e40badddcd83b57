// Real-time pacing of the window's animation: one step every
// 1 / (frame rate × playback rate) seconds of wall-clock time, where the frame
// rate is the parameter file's (steps per second at 1×) and the playback rate
// doubles and halves between 1/64× and 64×. Times are seconds on any
// monotonic clock. Batch runs do not pace: every step is one frame.
#pragma once

#include <string>

namespace quillmere {

class PlaybackPacing {
public:
  static constexpr int kMaxDoublings = 6; // the rate stays within 1/64× … 64×

  // `stepsPerSecond` must be above 0 (the parameter file reader sees to it).
  void setFrameRate(double stepsPerSecond) { frameRate_ = stepsPerSecond; }
  double frameRate() const { return frameRate_; }

  void faster();
  void slower();
  double rate() const;             // playback rate; 1 is real time
  double stepInterval() const;     // seconds of wall-clock time per step
  // "" at 1×, else "2x", "1/4x", …
  std::string rateLabel() const;

  // Whether a step is due at `now`; if so, the next one is scheduled one
  // interval later. A step that comes late (a slow frame) does not make
  // the following ones hurry: the flight then runs as fast as it can draw.
  bool stepDue(double now);
  // The next step one interval from `now` (after a start or a rate change).
  void restart(double now) { nextStep_ = now + stepInterval(); }

private:
  double frameRate_ = 100.0; // steps per second at 1×
  int doublings_ = 0;        // the rate is 2^doublings_
  double nextStep_ = 0.0;    // when the next step is due
};

} // namespace quillmere
