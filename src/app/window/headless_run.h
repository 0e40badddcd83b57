// A batch run without a window or an X server: an EGL context on Mesa's
// surfaceless platform, the picture in an offscreen framebuffer object,
// accumulation passes summed in a float framebuffer. It flies, records and
// takes screenshots as the window's batch runs do (--frames, --record,
// --screenshot, --first-frame), with no menu bar. Chosen with --headless or
// when DISPLAY is not set.
//
// Not done: interactive runs (nothing to look at) and --benchmark.
// Offscreen there is one colour buffer: quad-buffered stereo (ideal
// observer, per eye) shows its right eye only.
#pragma once

#include "app/command_line.h"
#include "app/recording/frame_recording.h"
#include "app/scene_loading.h"
#include "gl/egl_context.h"
#include "gl/offscreen_framebuffer.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillmere {

class HeadlessRun {
public:
  explicit HeadlessRun(const CommandLine& line) : line_(line) {}

  // Runs to the end; the exit status.
  int run();

  // A line "Error: ..." on standard error.
  void showError(const char* message);

private:
  bool setUp();
  bool load();
  bool startRecording();
  void step();
  bool finished() const;
  void capture();
  void reportProgress() const;
  int frameInFlight() const { return line_.firstFrame - 1 + stepsDone_; }

  const CommandLine line_;
  EglContext context_;
  OffscreenFramebuffer picture_;
  std::unique_ptr<LoadedScene> scene_;
  FlightController* viewer_ = nullptr;
  FrameRecording recording_;
  std::vector<std::uint8_t> pixels_; // reused frame read-back
  int stepsDone_ = 0;
  bool captureNext_ = false;
  bool captured_ = false;            // a frame has been read back
  bool writeFailed_ = false;
  std::chrono::steady_clock::time_point startTime_;
};

// True when this run draws offscreen: --headless, or no DISPLAY to open a window on.
bool wantsHeadless(const CommandLine& line);

} // namespace quillmere
