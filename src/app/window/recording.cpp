// The recording side of a batch run: flying to --first-frame without
// drawing, opening --record's folder or movie, writing each frame under its
// number in the flight, and ending a movie playable when the run ends or
// is interrupted.
#include "app/window/quillmere_window.h"

#include "app/recording/frame_range.h"
#include "app/recording/interrupt.h"

#include <algorithm>
#include <cstdio>

namespace quillmere {

bool QuillmereWindow::startRecording() {
  // Before the movie is opened, so that no signal can leave it without its trailer.
  if (batch_ || movieFormatOf(line_.recordFolder) != MovieFormat::None) catchInterrupt();
  const float frameRate = scene_ ? scene_->parameters.frameRate : 0.0f;
  return startFrameRange(recording_, viewer_, line_, frameRate, width_, height_ - menuBarHeight());
}

bool QuillmereWindow::recordFrame() {
  const int sceneHeight = height_ - menuBarHeight();
  return recording_.write(std::max(1, frameInFlight()), width_, sceneHeight, pixels_);
}

// A movie gets its trailer whatever ended the run; failing that fails the run.
int QuillmereWindow::endRecording(int status) {
  const bool ok = recording_.finish() && !recording_.failed();
  return !ok && status == 0 ? 1 : status;
}

} // namespace quillmere
