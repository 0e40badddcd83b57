// The program's one window on freeglut, with a Dear ImGui menu bar drawn
// last in each frame: it loads the scene with its OpenGL context current
// and shows it from the flight's start, turns timer ticks (paced to the
// parameter file's frame rate), menu commands, keys and mouse drags into
// calls of the viewer, shows "Error" boxes and the about box, and for batch
// runs (--frames, --record, --screenshot) records frames and reports progress.
#pragma once

#include "app/command_line.h"
#include "app/recording/frame_recording.h"
#include "app/scene_loading.h"
#include "app/viewer/playback_pacing.h"
#include "app/window/mouse_event_queue.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillmere {

class QuillmereWindow {
public:
  explicit QuillmereWindow(const CommandLine& line);

  // Creates the window and runs until it is closed or a batch run ends;
  // returns the exit status.
  int run(int& argc, char** argv);

  // A box titled "Error"; in batch runs a line on standard error.
  void showError(const char* message);

private:
  // GLUT's callbacks reach the one window through this.
  static QuillmereWindow* instance_;
  static void onDisplay();
  static void onReshape(int width, int height);
  static void onTimer(int);
  static void onKeyboard(unsigned char key, int x, int y);
  static void onKeyboardUp(unsigned char key, int x, int y);
  static void onSpecial(int key, int x, int y);
  static void onSpecialUp(int key, int x, int y);
  static void onMouse(int button, int state, int x, int y);
  static void onMotion(int x, int y);
  static void onPassiveMotion(int x, int y);

  bool load();
  void applyCommandLine();
  void drawFrame();
  void endFrame();
  void drawPlaceholder() const;
  void drawMenuBar();
  bool drawRenderMenu(); // true when a setting changed
  void drawPopups();
  void command(int id);
  void setSceneViewport() const;
  int menuBarHeight() const;
  void advanceViewer();
  void stepFlight();
  void refreshIfStale();
  int timerMilliseconds() const;
  void changeRate(bool faster);
  void afterStep();
  void captureFrame();
  void reportProgress();
  void finish(int status);
  int runBenchmark();
  // Recording (window/recording.cpp): --first-frame, --record's folder or movie, Ctrl+C.
  bool startRecording();
  bool recordFrame();
  int endRecording(int status);
  int frameInFlight() const { return line_.firstFrame - 1 + stepsDone_; }

  const CommandLine line_;        // as parsed; the live settings are in the scene and below
  float maxEdgeLength_ = 0;       // subdivision length of the next load; the Render menu changes it
  std::unique_ptr<LoadedScene> scene_;
  FlightController* viewer_ = nullptr;
  bool batch_ = false;            // --frames: no menu bar, the whole window is the scene
  bool texturedChecked_ = true;   // the Controls menu's check marks
  bool aboutOpen_ = false;        // the about box is to be opened
  bool aboutShowing_ = false;     // the about box is open: the animation waits
  std::string errorMessage_;      // an "Error" box waiting to be shown
  bool exitAfterError_ = false;   // the box reports a failure that ends the program
  int width_ = 0, height_ = 0;
  int exitStatus_ = 0;
  bool finished_ = false;         // the main loop is being left: no further step
  int stepsDone_ = 0;
  bool captureNext_ = false;
  bool reloadRequested_ = false;  // the scene is converted again at the next tick
  bool sceneStale_ = false;       // a setting changed: transform again before the next stopped frame
  bool wasStopped_ = true;        // the flight was stopped at the last tick
  bool steppedThisTick_ = false;  // the frame being drawn shows a new step
  bool writeFailed_ = false;      // a batch frame could not be written: the run ends with 1
  int framesDrawn_ = 0;           // frames the timer has drawn
  double lastDrawSeconds_ = 0;    // when the timer last drew the window (steady clock)
  PlaybackPacing pacing_;         // the window's real-time steps
  MouseEventQueue mouseEvents_;   // for the menu bar, one press or release per frame
  std::string title_;             // the window title at 1x playback
  std::vector<std::uint8_t> pixels_; // reused frame read-back
  FrameRecording recording_;         // --record: PNG frames or a movie
  std::chrono::steady_clock::time_point startTime_;
};

} // namespace quillmere
