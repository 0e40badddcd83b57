// Advances the animated scene in time and draws one frame of it: owns the
// simulation time, the frame counter and the projection; holds the render
// state, the observer, the scene root, the status overlay and the recorder
// of observer sub-frames; calls the viewer for the eye and camera transforms.
// One animation tick is advanceTime (when running) followed by display; the
// window then reads the frame back, draws its menu bar and swaps.
#pragma once

#include "display/display_node.h"
#include "relativity/recorder.h"
#include "gl/accumulation.h"
#include "gl/draw_pass.h"
#include "render/jitter.h"

namespace quillmere {

class DvGroup;
class DvRenderState;
class RelObserver;
class StatusOverlay;
class Viewer;

class DvDisplayManager {
public:
  explicit DvDisplayManager(DvRenderState& state);

  void setObserver(RelObserver* observer) { observer_ = observer; }
  void setOverlay(StatusOverlay* overlay) { overlay_ = overlay; }
  void setViewer(Viewer* viewer) { viewer_ = viewer; }
  // Draws into a framebuffer object's one colour buffer, summing
  // accumulation passes in `accumulation`, instead of the window's buffers.
  void setOffscreen(Accumulation* accumulation);
  // Sets the OpenGL defaults, marks the scene for compiling and keeps the root.
  void setScene(DvGroup* root);

  // One animation step: the observer advanced to motionSamples proper times
  // over motionInterval (each recorded), the scene transformed, the overlay
  // values copied, the counter and time advanced. False once the time has
  // passed the end time.
  bool advanceTime();
  // The scene transformed for the observer as it stands, without a step, and
  // the overlay's values to match: the start view before the first step,
  // and the redraw after a setting changed while the flight is stopped.
  void showObserverAsItStands();
  // The same step along the observer's world line, without transforming or
  // drawing the scene: the observer is left exactly as drawing the step
  // would leave it (a motion-blurred frame replays its sub-frames into it),
  // so the steps after it match a run that drew every frame. False once the
  // time has passed the end time.
  bool skipStep();
  // Draws one frame with its status bar into the current framebuffer (the
  // back buffer when double-buffered) and returns; it never swaps.
  void display();
  // Transforms the scene for the observer (per eye in per-eye stereo).
  void updateScene();
  // Projection, camera and drawing of one eye (0 first or only, 1 second),
  // with accumulation passes.
  void renderView(float eyeAngleDegrees, float eyeOffset, int stereoEye);

  // Pixel jitter (px, py) and eye jitter (ex, ey) around a focus plane.
  void accFrustum(double left, double right, double bottom, double top, double zNear, double zFar,
                  JitterPoint pixel, JitterPoint eye, double focus);
  void accPerspective(double fovyDegrees, double aspect, double zNear, double zFar, JitterPoint pixel,
                      JitterPoint eye, double focus);
  // Draws the scene of one eye by the settings' style; listMode is the
  // display-list mode (0 direct, 1 compile and execute, 2 call). Returns the
  // mode for the next pass.
  int renderScene(int eye, int listMode);
  int renderRoutine(int eye, int listMode);

  DvRenderState& renderState() { return state_; }
  RelObserver* observer() const { return observer_; }
  DvGroup* sceneRoot() const { return root_; }
  RelRecorder& recorder() { return recorder_; }
  FrameHolder& frameHolder() { return frameHolder_; }

  float nearPlane = 3.0f;       // scene units
  float farPlane = 5000.0f;
  int depthFromScene = 1;       // flag: each frame, near and far planes from the apparent extent of the scene
  float aspectFactor = 1.0f;    // multiplies the viewport's width/height
  float fieldOfView = 60.0f;    // vertical, degrees
  int needsCompiling = 1;       // flag: compileTexture before the next drawing
  int overlayOn = 1;            // flag
  float time = 0.0f;            // the next step advances the observer from here
  float endTime = 100.0f;
  float timeStep = 0.1f;
  int frameCounter = 0;         // advanceTime calls; never reset

  // The far plane is at most this many times the near plane: a 24-bit depth
  // buffer then still tells apart depths 1/1700 of the far distance apart.
  static constexpr float kMaxDepthRatio = 1.0e4f;

  // Near and far planes that hold the scene as the last transform saw it
  // (nearestApparent, farthestApparent from the eye) with a camera
  // `cameraDistance` from the eye; nothing changes before a transform has
  // seen a shape.
  void fitDepthRange(float nearestApparent, float farthestApparent, float cameraDistance);

private:
  // The views of one frame into the back buffer(s), without the overlay of a
  // single view and without the swap; true when it drew the overlays itself.
  bool drawViews();

  void recordSubFrames();
  void replaySubFramesAsDrawingDoes();
  void setUpFaces() const;
  void cameraSequence(float eyeAngleDegrees, float eyeOffset);
  int drawList(int listNumber, int listMode, bool software, const DrawPass& pass);
  void drawHiddenLine(int eye, int listMode, int& result);
  void drawOverlay() const;
  void copyToOverlay(float shownTime);
  bool hasStereoBuffers() const; // the visual has left and right back buffers
  void drawAnaglyph(float convergenceDegrees, float eyeSeparation, bool perEye);
  void selectDrawBuffer(unsigned windowBuffer) const;

  DvRenderState& state_;
  FrameHolder frameHolder_;
  RelObserver* observer_ = nullptr;
  DvGroup* root_ = nullptr;
  StatusOverlay* overlay_ = nullptr;
  Viewer* viewer_ = nullptr;
  RelRecorder recorder_;
  bool stereoFallbackWarned_ = false; // the anaglyph fallback has been reported
  float nearestApparent_ = -1;  // of the last scene update, both eyes; -1: no shape seen
  float farthestApparent_ = -1;
  AccumulationBuffer accumulationBuffer_;            // the window's
  Accumulation* accumulation_ = &accumulationBuffer_;
  bool offscreen_ = false;                           // a framebuffer object: no front, back, left or right buffers
};

} // namespace quillmere
