#include "app/window/quillmere_window.h"

#include "app/recording/batch_run.h"
#include "app/recording/interrupt.h"
#include "app/recording/png_writer.h"
#include "app/window/menus.h"
#include "app/window/placeholder.h"
#include "gl/gl_driver.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <imgui.h>
#include <backends/imgui_impl_glut.h>
#include <backends/imgui_impl_opengl2.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <cstdio>
#include <unistd.h>

namespace quillmere {

QuillmereWindow* QuillmereWindow::instance_ = nullptr;

namespace {

constexpr int kTimerMilliseconds = 10; // the tick while stopped, and the longest while running
constexpr const char* kErrorTitle = "Error";
constexpr const char* kAboutTitle = "About Quillmere";

// Ctrl+letter reaches the keyboard callback as its control code.
constexpr unsigned char controlKey(char letter) { return static_cast<unsigned char>(letter - 'A' + 1); }

int viewerButton(int glutButton) {
  switch (glutButton) {
  case GLUT_LEFT_BUTTON: return FlightController::kLeftButton;
  case GLUT_RIGHT_BUTTON: return FlightController::kRightButton;
  case GLUT_MIDDLE_BUTTON: return FlightController::kMiddleButton;
  default: return FlightController::kNoButton;
  }
}

} // namespace

QuillmereWindow::QuillmereWindow(const CommandLine& line) : line_(line), maxEdgeLength_(line.subdivide) {
  batch_ = isBatchRun(line);
}

namespace {

double secondsNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

int QuillmereWindow::run(int& argc, char** argv) {
  instance_ = this;
  glutInit(&argc, argv);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH | GLUT_STENCIL | GLUT_ACCUM);
  glutInitWindowSize(line_.width, line_.height);
  title_ = line_.path.empty() ? "Quillmere" : line_.path.substr(line_.path.find_last_of('/') + 1) + " - Quillmere";
  glutCreateWindow(title_.c_str());
  keepGLDriverLoaded();
  width_ = line_.width;
  height_ = line_.height;

  ImGui::CreateContext();
  ImGui::GetIO().IniFilename = nullptr; // nothing written beside the scene
  ImGui_ImplGLUT_Init();
  ImGui_ImplOpenGL2_Init();

  glutDisplayFunc(onDisplay);
  glutReshapeFunc(onReshape);
  glutKeyboardFunc(onKeyboard);
  glutKeyboardUpFunc(onKeyboardUp);
  glutSpecialFunc(onSpecial);
  glutSpecialUpFunc(onSpecialUp);
  glutMouseFunc(onMouse);
  glutMotionFunc(onMotion);
  glutPassiveMotionFunc(onPassiveMotion);

  onReshape(width_, height_);
  if (!line_.path.empty() && !load()) {
    if (batch_ || line_.benchmark) return 1;
    exitAfterError_ = true; // the box is shown, then the program ends with 1
  }
  if (line_.benchmark) return runBenchmark();

  if (!startRecording()) return 1;
  startTime_ = std::chrono::steady_clock::now();
  glutTimerFunc(timerMilliseconds(), onTimer, 0);
  glutMainLoop();

  ImGui_ImplOpenGL2_Shutdown();
  ImGui_ImplGLUT_Shutdown();
  ImGui::DestroyContext();
  return endRecording(exitStatus_);
}

bool QuillmereWindow::load() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFlush();
  // A load that fails leaves the scene shown so far (if any) as it was.
  auto fresh = std::make_unique<LoadedScene>();
  fresh->maxEdgeLength = maxEdgeLength_;
  fresh->trace = line_.trace;
  LoadResult result = loadScene(line_.path, *fresh);
  if (result != LoadResult::Loaded) {
    const char* what = !fresh->error.empty()                 ? fresh->error.c_str()
                       : result == LoadResult::CannotOpen  ? "Can't open the scene file"
                       : result == LoadResult::ReadBad     ? "Read was bad"
                       : result == LoadResult::NoNodes     ? "The scene file holds no nodes"
                                                           : "The scene could not be converted";
    if (!batch_ || fresh->error.empty()) showError(what); // a batch run has the message on standard error already
    return false;
  }
  scene_ = std::move(fresh);
  viewer_ = scene_->viewer.get();
  applyCommandLine();
  pacing_.setFrameRate(scene_->parameters.frameRate);
  // The first frame shows the flight's start, drawn as every later one is.
  viewer_->displayManager().showObserverAsItStands();
  sceneStale_ = false;
  wasStopped_ = true;
  return true;
}

void QuillmereWindow::applyCommandLine() {
  DvRenderState& state = *scene_->renderState;
  applyRenderOptions(line_, state, *scene_->displayManager);
  if (line_.gamut) scene_->gamutMapping.setMethod(*line_.gamut);
  if (line_.headlight) scene_->spectralHeadlight.setOn(1);
  texturedChecked_ = state.renderStyle != RenderStyle::Wireframe;
  if (batch_ ? batchRunFlies(line_) : line_.run) viewer_->setStopped(0);
}

int QuillmereWindow::menuBarHeight() const {
  return batch_ ? 0 : int(ImGui::GetFrameHeight());
}

// The scene gets the window below the menu bar.
void QuillmereWindow::setSceneViewport() const {
  int sceneHeight = height_ - menuBarHeight();
  glViewport(0, 0, width_, sceneHeight > 1 ? sceneHeight : 1);
}

void QuillmereWindow::onReshape(int width, int height) {
  QuillmereWindow& w = *instance_;
  w.width_ = width;
  w.height_ = height;
  ImGui_ImplGLUT_ReshapeFunc(width, height);
  w.setSceneViewport();
  // The default projection, seen only by the placeholder; the display
  // manager sets its own for every frame.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, height == 0 ? double(width) : double(width) / double(height), 1.0, 10.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDrawBuffer(GL_BACK);
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
}

void QuillmereWindow::drawPlaceholder() const { drawPlaceholderCube(); }

// The scene (or the placeholder) is drawn into the back buffer; the window
// then ends the frame.
void QuillmereWindow::drawFrame() {
  setSceneViewport();
  if (viewer_) {
    viewer_->display();
    if (glGetError() != GL_NO_ERROR && !batch_) showError("OpenGL Error");
  } else {
    drawPlaceholder();
  }
  endFrame();
}

// Recorded frames show the scene and its status bar, read back before the
// menu bar is drawn and before the swap.
void QuillmereWindow::endFrame() {
  if (captureNext_) captureFrame();
  if (!batch_) {
    // The menu bar's drawing changes OpenGL state (colour material, blending,
    // texture, matrices); the scene must find the state it left.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glViewport(0, 0, width_, height_);
    mouseEvents_.deliverFrame([](const MouseEvent& event) {
      if (event.isButton)
        ImGui_ImplGLUT_MouseFunc(event.button, event.state, event.x, event.y);
      else
        ImGui_ImplGLUT_MotionFunc(event.x, event.y);
    });
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGLUT_NewFrame();
    drawMenuBar();
    drawPopups();
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    setSceneViewport();
  }
  glutSwapBuffers();
}

// The frame just drawn, read back: the last one read is the screenshot;
// --record writes those that show a new step, or the placeholder.
void QuillmereWindow::captureFrame() {
  captureNext_ = false;
  int sceneHeight = height_ - menuBarHeight();
  glReadBuffer(GL_BACK);
  readViewport(0, 0, width_, sceneHeight, pixels_);
  // The placeholder, drawn without a scene, is frame 1.
  if (!line_.recordFolder.empty() && (steppedThisTick_ || !scene_)) {
    if (!recordFrame()) writeFailed_ = true;
  }
}

void QuillmereWindow::showError(const char* message) {
  if (batch_) {
    std::fprintf(stderr, "Error: %s\n", message);
    return;
  }
  errorMessage_ = message;
}

void QuillmereWindow::command(int id) {
  switch (id) {
  case CommandTextured: texturedChecked_ = true; break;
  case CommandWireframe: texturedChecked_ = false; break;
  case CommandExit: finish(exitAfterError_ ? 1 : 0); return; // a failed load stays a failure
  case CommandAbout: aboutOpen_ = true; return;
  case CommandFaster: changeRate(true); return;
  case CommandSlower: changeRate(false); return;
  default: break;
  }
  if (!viewer_) return; // before a scene is loaded only the check marks change
  switch (id) {
  case CommandReset:
    viewer_->reset();
    viewer_->setStopped(0);
    break;
  case CommandStart: viewer_->setStopped(0); break;
  case CommandStop: viewer_->setStopped(1); break;
  case CommandTextured: viewer_->setRenderStyle(RenderStyle::Textured); sceneStale_ = true; break;
  case CommandWireframe: viewer_->setRenderStyle(RenderStyle::Wireframe); sceneStale_ = true; break;
  case CommandDefaultViewingDirection: viewer_->resetView(); break;
  default: break;
  }
  glutPostRedisplay();
}

void QuillmereWindow::drawMenuBar() {
  if (!ImGui::BeginMainMenuBar()) return;
  auto item = [&](int id, bool checked = false) {
    const char* text = menuText(id);
    if (ImGui::MenuItem(menuLabel(text).c_str(), menuShortcut(text).c_str(), checked)) command(id);
  };
  if (ImGui::BeginMenu("File")) {
    item(CommandReset);
    ImGui::Separator();
    item(CommandExit);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Controls")) {
    item(CommandStart);
    item(CommandStop);
    item(CommandFaster);
    item(CommandSlower);
    ImGui::Separator();
    item(CommandTextured, texturedChecked_);
    item(CommandWireframe, !texturedChecked_);
    ImGui::Separator();
    item(CommandDefaultViewingDirection);
    ImGui::EndMenu();
  }
  if (drawRenderMenu()) sceneStale_ = true;
  if (ImGui::BeginMenu("Help")) {
    item(CommandAbout);
    ImGui::EndMenu();
  }
  ImGui::EndMainMenuBar();
}

void QuillmereWindow::drawPopups() {
  if (aboutOpen_) {
    ImGui::OpenPopup(kAboutTitle);
    aboutOpen_ = false;
    aboutShowing_ = true;
  }
  if (ImGui::BeginPopupModal(kAboutTitle, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    ImGui::TextUnformatted("Quillmere");
    ImGui::TextUnformatted("For Linux and other X11 desktops (freeglut, Dear ImGui, OpenGL)");
    ImGui::TextUnformatted("Version 1.1");
    ImGui::TextUnformatted("What an observer near the speed of light really sees.");
    if (ImGui::Button("OK")) {
      ImGui::CloseCurrentPopup();
      aboutShowing_ = false;
    }
    ImGui::EndPopup();
  }
  if (!errorMessage_.empty()) ImGui::OpenPopup(kErrorTitle);
  if (ImGui::BeginPopupModal(kErrorTitle, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    ImGui::TextUnformatted(errorMessage_.c_str());
    if (ImGui::Button("OK")) {
      errorMessage_.clear();
      ImGui::CloseCurrentPopup();
      if (exitAfterError_) finish(1);
    }
    ImGui::EndPopup();
  }
}

void QuillmereWindow::finish(int status) {
  exitStatus_ = status;
  finished_ = true;
  glutLeaveMainLoop();
}

void QuillmereWindow::onDisplay() { instance_->drawFrame(); }

void QuillmereWindow::onTimer(int) {
  QuillmereWindow& w = *instance_;
  // freeglut may still run a timer that is due after the loop was left: no step after the last.
  if (w.finished_) return;
  if (interruptRequested()) return w.finish(interruptExitStatus()); // the movie is finished on the way out
  const bool modal = w.aboutShowing_ || !w.errorMessage_.empty(); // time stands still behind a box
  if (w.reloadRequested_) {
    // A new subdivision length needs the scene converted again; if that
    // fails, the scene shown so far stays, with its length.
    w.reloadRequested_ = false;
    if (!w.load() && w.scene_) w.maxEdgeLength_ = w.scene_->maxEdgeLength;
  }
  w.steppedThisTick_ = false;
  if (w.viewer_ && !modal) w.advanceViewer();
  // Batch runs with an output read back every frame they draw.
  if (w.batch_) w.captureNext_ = !w.line_.recordFolder.empty() || !w.line_.screenshotPath.empty();
  // Running ticks come at half the step interval; between steps the window
  // is drawn again only as often as while stopped (for the menu bar).
  const double now = secondsNow();
  const bool running = w.viewer_ && !w.viewer_->stopped() && !modal;
  if (w.batch_ || w.steppedThisTick_ || !running || now - w.lastDrawSeconds_ >= kTimerMilliseconds / 1000.0) {
    w.lastDrawSeconds_ = now;
    w.drawFrame();
    ++w.framesDrawn_;
  }
  if (w.batch_) w.afterStep();
  glutTimerFunc(w.timerMilliseconds(), onTimer, 0);
}

// Batch runs step once per frame; the window steps in real time while the
// flight runs, and while it is stopped spins the camera and shows every
// setting changed on the observer as it stands.
void QuillmereWindow::advanceViewer() {
  if (batch_) {
    if (batchRunFlies(line_)) stepFlight();
    return;
  }
  if (viewer_->stopped()) {
    wasStopped_ = true;
    refreshIfStale();
    viewer_->advance(); // the look-around camera's spin
    return;
  }
  const double now = secondsNow();
  if (wasStopped_) {
    wasStopped_ = false; // started: the first step at once, the next one interval later
    pacing_.restart(now);
    stepFlight();
  } else if (pacing_.stepDue(now)) {
    stepFlight();
  }
}

void QuillmereWindow::stepFlight() {
  int before = viewer_->displayManager().frameCounter;
  viewer_->advance();
  steppedThisTick_ = viewer_->displayManager().frameCounter != before;
  if (steppedThisTick_) ++stepsDone_;
  sceneStale_ = false; // the step transformed the scene with the settings as they are
}

void QuillmereWindow::refreshIfStale() {
  if (!sceneStale_) return;
  sceneStale_ = false;
  viewer_->displayManager().showObserverAsItStands();
}

int QuillmereWindow::timerMilliseconds() const {
  if (batch_) return 0;
  if (!viewer_ || viewer_->stopped()) return kTimerMilliseconds;
  // Ticks at half the step interval, so a step is never a whole tick late.
  return std::clamp(int(500.0 * pacing_.stepInterval()), 1, kTimerMilliseconds);
}

void QuillmereWindow::changeRate(bool faster) {
  if (faster)
    pacing_.faster();
  else
    pacing_.slower();
  pacing_.restart(secondsNow());
  std::string label = pacing_.rateLabel();
  glutSetWindowTitle(label.empty() ? title_.c_str() : (title_ + " (" + label + ")").c_str());
}

// A batch run ends when it has what it was asked for, or when a frame
// could not be written.
void QuillmereWindow::afterStep() {
  reportProgress();
  if (writeFailed_) {
    finish(1);
    return;
  }
  BatchProgress progress;
  progress.sceneLoaded = scene_ != nullptr;
  progress.framesDrawn = framesDrawn_;
  progress.stepsDone = stepsDone_;
  progress.flightStopped = viewer_ && viewer_->stopped();
  if (!batchRunEnds(line_, progress)) return;
  if (isatty(2) && line_.frames > 0) std::fputc('\n', stderr);
  bool written = line_.screenshotPath.empty() || writePng(line_.screenshotPath, width_, height_, pixels_);
  finish(written ? 0 : 1);
}

void QuillmereWindow::reportProgress() {
  if (line_.frames <= 0 || !scene_) return;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime_).count();
  reportBatchProgress(stepsDone_, line_.frames, seconds);
}

void QuillmereWindow::onKeyboard(unsigned char key, int x, int y) {
  ImGui_ImplGLUT_KeyboardFunc(key, x, y);
  QuillmereWindow& w = *instance_;
  const bool ctrl = (glutGetModifiers() & GLUT_ACTIVE_CTRL) != 0;
  // Q quits and + and − set the playback rate whatever a menu is doing:
  // no menu takes typed text.
  if (!ctrl && (key == 'q' || key == 'Q')) {
    w.command(CommandExit);
    return;
  }
  if (!ctrl && (key == '+' || key == '-')) {
    w.changeRate(key == '+');
    return;
  }
  if (ImGui::GetIO().WantCaptureKeyboard) return;
  if (ctrl) {
    switch (key) {
    case controlKey('N'):
    case controlKey('R'): w.command(CommandReset); return;
    case controlKey('S'): w.command(CommandStart); return;
    case controlKey('P'): w.command(CommandStop); return;
    case controlKey('B'): w.command(CommandDefaultViewingDirection); return;
    default: break;
    }
  }
  if (!w.viewer_) return;
  if (w.viewer_->characterKey(key) == FlightController::KeyResult::Quit) w.command(CommandExit);
  glutPostRedisplay();
}

void QuillmereWindow::onKeyboardUp(unsigned char key, int x, int y) { ImGui_ImplGLUT_KeyboardUpFunc(key, x, y); }

void QuillmereWindow::onSpecial(int key, int x, int y) {
  ImGui_ImplGLUT_SpecialFunc(key, x, y);
  QuillmereWindow& w = *instance_;
  if (ImGui::GetIO().WantCaptureKeyboard || !w.viewer_) return;
  w.viewer_->specialKey(key);
  glutPostRedisplay();
}

void QuillmereWindow::onSpecialUp(int key, int x, int y) { ImGui_ImplGLUT_SpecialUpFunc(key, x, y); }

void QuillmereWindow::onMouse(int button, int state, int x, int y) {
  QuillmereWindow& w = *instance_;
  if (!w.batch_) w.mouseEvents_.push(MouseEvent{true, button, state, x, y}); // batch runs draw no menu bar
  if (!w.viewer_) return;
  int code = viewerButton(button);
  if (state == GLUT_DOWN) {
    if (ImGui::GetIO().WantCaptureMouse || code == FlightController::kNoButton) return;
    int modifier = (glutGetModifiers() & GLUT_ACTIVE_SHIFT) ? FlightController::kShift : 0;
    w.viewer_->mousePress(code, x, y, modifier);
  } else {
    w.viewer_->mouseRelease(code); // a release always ends the drag it belongs to
  }
  glutPostRedisplay();
}

void QuillmereWindow::onMotion(int x, int y) {
  QuillmereWindow& w = *instance_;
  if (!w.batch_) w.mouseEvents_.push(MouseEvent{false, 0, 0, x, y});
  if (!w.viewer_ || w.viewer_->heldButton() == FlightController::kNoButton) return;
  w.viewer_->mouseMove(x, y);
  glutPostRedisplay();
}

void QuillmereWindow::onPassiveMotion(int x, int y) {
  if (!instance_->batch_) instance_->mouseEvents_.push(MouseEvent{false, 0, 0, x, y});
}

} // namespace quillmere
