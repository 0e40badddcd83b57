#include "app/viewer/playback_pacing.h"

#include <cmath>

namespace quillmere {

void PlaybackPacing::faster() {
  if (doublings_ < kMaxDoublings) ++doublings_;
}

void PlaybackPacing::slower() {
  if (doublings_ > -kMaxDoublings) --doublings_;
}

double PlaybackPacing::rate() const { return std::ldexp(1.0, doublings_); }

double PlaybackPacing::stepInterval() const { return 1.0 / (frameRate_ * rate()); }

std::string PlaybackPacing::rateLabel() const {
  if (doublings_ == 0) return std::string();
  if (doublings_ > 0) return std::to_string(1 << doublings_) + "x";
  return "1/" + std::to_string(1 << -doublings_) + "x";
}

bool PlaybackPacing::stepDue(double now) {
  if (now < nextStep_) return false;
  const double interval = stepInterval();
  nextStep_ += interval;
  if (nextStep_ <= now) nextStep_ = now + interval; // late: no burst of steps to catch up
  return true;
}

} // namespace quillmere
