#include "app/window/headless_run.h"

#include "app/recording/batch_run.h"
#include "app/recording/frame_range.h"
#include "app/recording/interrupt.h"
#include "app/recording/png_writer.h"
#include "app/window/placeholder.h"
#include "gl/gl_driver.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace quillmere {

bool wantsHeadless(const CommandLine& line) {
  const char* display = std::getenv("DISPLAY");
  return line.headless || !display || !*display;
}

int HeadlessRun::run() {
  if (line_.benchmark) {
    std::fprintf(stderr, "quillmere: --benchmark needs a window (run it under xvfb-run)\n");
    return 1;
  }
  if (line_.frames < 0 && line_.screenshotPath.empty() && line_.recordFolder.empty()) {
    std::fprintf(stderr, "quillmere: without a display there is nothing to look at: "
                         "use --frames N, --record or --screenshot\n");
    return 1;
  }
  if (!setUp()) return 1;
  if (!line_.path.empty() && !load()) return 1;
  if (!startRecording()) return 1;

  startTime_ = std::chrono::steady_clock::now();
  int status = 0;
  while (!finished()) {
    if (interruptRequested()) {
      status = interruptExitStatus();
      break;
    }
    step();
    if (writeFailed_) break;
  }
  if (isatty(2) && line_.frames > 0) std::fputc('\n', stderr);

  // A run that ended early (the flight's end, a signal) still leaves its last frame.
  if (!line_.screenshotPath.empty() && captured_ && !writePng(line_.screenshotPath, picture_.width(), picture_.height(), pixels_))
    writeFailed_ = true;
  const bool recorded = recording_.finish() && !recording_.failed();
  if (status == 0 && (writeFailed_ || !recorded)) status = 1;
  return status;
}

bool HeadlessRun::setUp() {
  std::string error;
  if (!context_.create(error)) {
    std::fprintf(stderr, "quillmere: cannot draw without a display: %s\n", error.c_str());
    return false;
  }
  keepGLDriverLoaded();
  if (!picture_.create(line_.width, line_.height, error)) {
    std::fprintf(stderr, "quillmere: cannot draw offscreen at %dx%d: %s\n", line_.width, line_.height, error.c_str());
    return false;
  }
  glViewport(0, 0, line_.width, line_.height);
  // The placeholder's projection, as a window sets it.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, double(line_.width) / double(line_.height), 1.0, 10.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  return true;
}

bool HeadlessRun::load() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  scene_ = std::make_unique<LoadedScene>();
  scene_->maxEdgeLength = line_.subdivide;
  LoadResult result = loadScene(line_.path, *scene_);
  if (result != LoadResult::Loaded) {
    showError(result == LoadResult::CannotOpen ? "Can't open the scene file"
              : result == LoadResult::ReadBad  ? "Read was bad"
                                               : "The scene could not be converted");
    return false;
  }
  viewer_ = scene_->viewer.get();
  scene_->displayManager->setOffscreen(&picture_);
  applyRenderOptions(line_, *scene_->renderState, *scene_->displayManager);
  if (line_.gamut) scene_->gamutMapping.setMethod(*line_.gamut);
  if (line_.headlight) scene_->spectralHeadlight.setOn(1);
  viewer_->setStopped(0);
  return true;
}

bool HeadlessRun::startRecording() {
  catchInterrupt(); // before the movie is opened, so that no signal can leave it without its trailer
  const float frameRate = scene_ ? scene_->parameters.frameRate : 0.0f;
  return startFrameRange(recording_, viewer_, line_, frameRate, line_.width, line_.height);
}

// One step as the window's timer makes it: advance, draw, then read back
// what was drawn (there is nothing to swap offscreen).
void HeadlessRun::step() {
  glViewport(0, 0, line_.width, line_.height);
  if (viewer_) {
    int before = viewer_->displayManager().frameCounter;
    viewer_->advance();
    captureNext_ = viewer_->displayManager().frameCounter != before;
    if (captureNext_) ++stepsDone_;
    viewer_->display();
    if (glGetError() != GL_NO_ERROR) showError("OpenGL Error");
  } else {
    captureNext_ = true; // the placeholder, once
    ++stepsDone_;
    drawPlaceholderCube();
  }
  if (captureNext_) capture();
  reportProgress();
}

bool HeadlessRun::finished() const {
  if (stepsDone_ == 0) return false;
  if (!viewer_ || viewer_->stopped()) return true;
  if (line_.frames > 0) return stepsDone_ >= line_.frames;
  return !line_.screenshotPath.empty() && line_.recordFolder.empty(); // a screenshot of the first frame
}

void HeadlessRun::capture() {
  captureNext_ = false;
  picture_.readBottomRowFirst(pixels_); // as a window gives it, as the writers take it
  captured_ = true;
  if (!recording_.write(frameInFlight(), line_.width, line_.height, pixels_)) writeFailed_ = true;
}

void HeadlessRun::showError(const char* message) { std::fprintf(stderr, "Error: %s\n", message); }

void HeadlessRun::reportProgress() const {
  if (line_.frames <= 0) return;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime_).count();
  reportBatchProgress(stepsDone_, line_.frames, seconds);
}

} // namespace quillmere
