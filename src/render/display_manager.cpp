#include "render/display_manager.h"

#include "diagnostics/diagnostics.h"
#include "display/group.h"
#include "relativity/observer.h"
#include "gl/render_state.h"
#include "render/status_overlay.h"
#include "render/viewer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quillmere {

namespace {

constexpr int kSceneList = 1;   // the scene as drawn in the current style
constexpr int kOutlineList = 2; // the outline pass of the hidden-line style
constexpr double kPi = 3.14159265358979323846;
constexpr float kGlobalAmbient = 0.2f; // OpenGL's own default, named because the lighting relies on it

// The recorder holds at most 99 sub-frames.
int boundedMotionSamples(int samples) { return std::clamp(samples, 1, RelRecorder::kMaxSubFrames); }

} // namespace

DvDisplayManager::DvDisplayManager(DvRenderState& state) : state_(state) {}

void DvDisplayManager::setOffscreen(Accumulation* accumulation) {
  offscreen_ = true;
  accumulation_ = accumulation;
}

// Offscreen, both eyes of a stereo pair and either buffer of a window are
// the one colour attachment.
void DvDisplayManager::selectDrawBuffer(unsigned windowBuffer) const {
  glDrawBuffer(offscreen_ ? GL_COLOR_ATTACHMENT0 : GLenum(windowBuffer));
}

void DvDisplayManager::setUpFaces() const {
  glFrontFace(state_.clockwiseFrontFaces ? GL_CW : GL_CCW);
  if (!state_.cullBackFaces) {
    glDisable(GL_CULL_FACE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  } else {
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
  }
}

void DvDisplayManager::setScene(DvGroup* root) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_NORMALIZE);
  glDepthFunc(GL_LESS);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  // The scene's ambient light: each face's ambient colour times 0.2, as a
  // VRML browser lights it (the lights themselves carry no ambient term).
  const float globalAmbient[4] = {kGlobalAmbient, kGlobalAmbient, kGlobalAmbient, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, globalAmbient);
  glClearColor(0, 0, 0, 0);
  glClearAccum(0, 0, 0, 0);
  setUpFaces();
  for (int list : {kSceneList, kOutlineList}) {
    glNewList(GLuint(list), GL_COMPILE);
    glEndList();
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glFlush();
  needsCompiling = 1;
  root_ = root;
}

void DvDisplayManager::recordSubFrames() {
  const int n = boundedMotionSamples(state_.motionSamples);
  const float spacing = state_.motionInterval * (n == 1 ? 1.0f : 1.0f / float(n - 1));
  recorder_.clearSubFrames();
  for (int i = 0; i < n; ++i) {
    observer_->update(time + float(i) * spacing);
    recorder_.addSubFrame(*observer_);
  }
}

// A motion-blurred view restores each recorded sub-frame into the observer
// (renderView); the stored sub-frames hold single precision, so the restored
// state differs from the integrated one in its last bits and the next step
// starts from it.
void DvDisplayManager::replaySubFramesAsDrawingDoes() {
  if (!state_.motionBlur || boundedMotionSamples(state_.motionSamples) < 2) return;
  recorder_.rewind();
  while (recorder_.restoreNextSubFrame(*observer_)) observer_->setEyeEvent(observer_->event());
}

bool DvDisplayManager::skipStep() {
  if (observer_) {
    recordSubFrames();
    replaySubFramesAsDrawingDoes();
  }
  ++frameCounter;
  time += timeStep;
  return time <= endTime;
}

bool DvDisplayManager::advanceTime() {
  if (observer_) {
    recordSubFrames();
    updateScene();
    copyToOverlay(time);
  }
  ++frameCounter;
  time += timeStep;
  return time <= endTime;
}

void DvDisplayManager::copyToOverlay(float shownTime) {
  if (!overlay_ || !observer_) return;
  overlay_->speed = observer_->speed();
  overlay_->acceleration = observer_->acceleration();
  overlay_->turnRate = observer_->turnRate();
  overlay_->time = shownTime;
  overlay_->event = observer_->event();
  overlay_->frameNumber = frameCounter;
}

void DvDisplayManager::showObserverAsItStands() {
  if (!observer_) return;
  if (frameCounter == 0) {
    // Before the first step the observer stands at its start: that is the
    // one sub-frame motion blur can show.
    recorder_.clearSubFrames();
    recorder_.addSubFrame(*observer_);
  }
  updateScene();
  copyToOverlay(frameCounter == 0 ? time : time - timeStep);
}

void DvDisplayManager::updateScene() {
  if (!observer_ || !root_) return;
  if (state_.snapshotPerUpdate) observer_->snapshot();
  nearestApparent_ = farthestApparent_ = -1;
  auto transform = [this](int eye) {
    frameHolder_ = FrameHolder();
    root_->relativisticTransform(*observer_, state_, DrawPass(state_.renderStyle, eye), frameHolder_);
    if (frameHolder_.farthestApparent < 0) return;
    nearestApparent_ = nearestApparent_ < 0 ? frameHolder_.nearestApparent
                                            : std::min(nearestApparent_, frameHolder_.nearestApparent);
    farthestApparent_ = std::max(farthestApparent_, frameHolder_.farthestApparent);
  };
  if (state_.stereo == StereoMode::PerEye) {
    if (state_.trace) std::fprintf(stderr, "for both eyes\n");
    observer_->setEyeOffset(0.5f * state_.eyeSeparation); // the left eye, at −offset along the view's x
    transform(0);
    observer_->setEyeOffset(-0.5f * state_.eyeSeparation);
    transform(1);
  } else {
    transform(0);
  }
}

void DvDisplayManager::fitDepthRange(float nearestApparent, float farthestApparent, float cameraDistance) {
  if (!(farthestApparent > 0) || !std::isfinite(farthestApparent)) return;
  // Room on both sides: the apparent distance is convex over a shape's box,
  // so its largest value is at a corner, but its smallest may lie inside a
  // face, nearer than the box of the seen corners says.
  farPlane = 1.05f * (farthestApparent + cameraDistance);
  nearPlane = std::max(0.5f * (nearestApparent - cameraDistance), farPlane / kMaxDepthRatio);
}

void DvDisplayManager::drawOverlay() const {
  if (overlay_ && overlayOn) overlay_->draw();
}

void DvDisplayManager::display() {
  if (glGetError() != GL_NO_ERROR) printWarning("OpenGL Error in DvDisplayManager::display()\n");
  if (ColourPipeline* colour = state_.colourPipeline) {
    // Auto exposure meters a frame before it can expose one, so the first
    // frame it sees is drawn once only to be metered.
    // Only spectral frames are metered, so the exposure waits for the first.
    const bool meterFirst = state_.softwareShading && colour->cie() && colour->exposure.needsMetering();
    if (state_.softwareShading)
      colour->beginFrame();
    else
      colour->prepare();
    if (meterFirst) {
      drawViews();
      colour->beginFrame();
    }
    if (overlay_) {
      overlay_->showExposure = state_.softwareShading && colour->cie() && colour->exposure.automatic;
      overlay_->exposureEv = colour->exposure.ev();
    }
  }
  const bool overlayDrawn = drawViews();
  if (!overlayDrawn) drawOverlay();
  glFlush();
}

bool DvDisplayManager::drawViews() {
  setUpFaces();

  // Convergence of the two eyes on the focus plane.
  const float e = state_.eyeSeparation;
  const double convergence = 2.0 * std::asin(double(e) / (2.0 * double(state_.focusDistance)));
  const float a = float(convergence * 90.0 / kPi);
  bool overlayDrawn = false;

  // Without left and right buffers a stereo pair would draw into buffers
  // that do not exist: it becomes an anaglyph, with one warning.
  const StereoMode stereo = state_.stereo;
  const bool wantsStereoBuffers = stereo == StereoMode::IdealObserver || stereo == StereoMode::PerEye;
  if (wantsStereoBuffers && !hasStereoBuffers()) {
    if (!stereoFallbackWarned_)
      printWarning("The display has no stereo buffers: %s stereo is drawn as a red-cyan anaglyph\n",
                   stereo == StereoMode::PerEye ? "per-eye" : "ideal-observer");
    stereoFallbackWarned_ = true;
    drawAnaglyph(a, e, stereo == StereoMode::PerEye);
  } else if (stereo == StereoMode::Anaglyph) {
    drawAnaglyph(a, e, false);
  } else if (stereo == StereoMode::IdealObserver) {
    if (state_.trace) {
      std::fprintf(stderr, "Stereo (Ideal Observer)  %g   %g\n", double(e), convergence);
      std::fflush(stderr);
    }
    selectDrawBuffer(GL_BACK_LEFT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(-a, -0.5f * e, 0);
    selectDrawBuffer(GL_BACK_RIGHT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(a, 0.5f * e, 0);
    selectDrawBuffer(GL_BACK);
  } else if (stereo == StereoMode::DualScreen) {
    // Side by side, each half with its own overlay; the window swaps once, after both.
    if (state_.trace) std::fprintf(stderr, "Dual Screen Stereo\n");
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    selectDrawBuffer(GL_BACK);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLint half = viewport[2] / 2;
    glViewport(viewport[0], viewport[1], half, viewport[3]);
    renderView(-a, -0.5f * e, 0);
    drawOverlay();
    glViewport(viewport[0] + half, viewport[1], viewport[2] - half, viewport[3]);
    renderView(a, 0.5f * e, 0);
    drawOverlay();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    overlayDrawn = true;
  } else if (stereo == StereoMode::PerEye) {
    selectDrawBuffer(GL_BACK_LEFT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(-a, 0, 0);
    selectDrawBuffer(GL_BACK_RIGHT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(a, 0, 1);
    selectDrawBuffer(GL_BACK);
  } else {
    selectDrawBuffer(state_.doubleBuffer ? GL_BACK : GL_FRONT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(0, 0, 0);
  }
  return overlayDrawn;
}

bool DvDisplayManager::hasStereoBuffers() const {
  GLboolean stereo = GL_FALSE;
  glGetBooleanv(GL_STEREO, &stereo);
  return stereo == GL_TRUE;
}

// Both eyes into the one back buffer through colour masks: the left eye
// writes only red, the right eye only green and blue, so red-cyan glasses
// (red over the left eye) give each eye its own view. Per eye, each view
// shows the scene as transformed from that eye.
void DvDisplayManager::drawAnaglyph(float convergenceDegrees, float eyeSeparation, bool perEye) {
  glDrawBuffer(state_.doubleBuffer ? GL_BACK : GL_FRONT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE);
  renderView(-convergenceDegrees, perEye ? 0.0f : -0.5f * eyeSeparation, 0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glColorMask(GL_FALSE, GL_TRUE, GL_TRUE, GL_TRUE);
  renderView(convergenceDegrees, perEye ? 0.0f : 0.5f * eyeSeparation, perEye ? 1 : 0);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void DvDisplayManager::cameraSequence(float eyeAngleDegrees, float eyeOffset) {
  if (viewer_) viewer_->applyEyeTransform(eyeAngleDegrees, eyeOffset);
  state_.applyHeadlight();
  if (viewer_) viewer_->applyLookAroundCamera();
  if (observer_) glMultMatrixf(observer_->viewMatrix().m);
  Matrix4 inverseModelview;
  glGetFloatv(GL_MODELVIEW_MATRIX, inverseModelview.m);
  inverseModelview.invert();
  state_.applyGLLights();
  state_.aimSpectralHeadlight(inverseModelview);
}

void DvDisplayManager::renderView(float eyeAngleDegrees, float eyeOffset, int stereoEye) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const double aspect = double(viewport[2]) * aspectFactor / double(viewport[3] > 0 ? viewport[3] : 1);

  const JitterTable image = getJitter(state_.antialiasing ? state_.antialiasingSamples : 1);
  const JitterTable lens = getJitter(state_.depthOfField ? state_.depthOfFieldSamples : 1);
  const int timeSamples = state_.motionBlur ? boundedMotionSamples(state_.motionSamples) : 1;
  const int passes = timeSamples * lens.count * image.count;
  int listMode = lens.count * image.count > 1 ? 1 : 0;
  if (depthFromScene) fitDepthRange(nearestApparent_, farthestApparent_, viewer_ ? viewer_->cameraDistance() : 0.0f);

  if (passes == 1) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (std::fabs(eyeOffset) < 0.001f) {
      gluPerspective(fieldOfView, aspect, nearPlane, farPlane);
    } else {
      // An off-axis frustum for one eye of a stereo pair.
      double left = (eyeOffset - 100.0) * nearPlane / 300.0, right = (eyeOffset + 100.0) * nearPlane / 300.0;
      double top = (right - left) / (2.0 * aspect);
      glFrustum(left, right, -top, top, nearPlane, farPlane);
      eyeOffset /= 2.0f;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    cameraSequence(eyeAngleDegrees, eyeOffset);
    renderScene(stereoEye, listMode);
    return;
  }

  // Accumulation: one pass per time sample, lens and pixel jitter.
  glReadBuffer(offscreen_ ? GL_COLOR_ATTACHMENT0 : state_.doubleBuffer ? GL_BACK : GL_FRONT);
  accumulation_->clear();
  recorder_.rewind();
  const int timeListMode = timeSamples > 1 ? 1 : listMode;
  for (int t = 0; t < timeSamples; ++t) {
    if (timeSamples > 1 && observer_ && recorder_.restoreNextSubFrame(*observer_)) {
      observer_->setEyeEvent(observer_->event());
      updateScene();
    }
    listMode = timeListMode;
    for (int b = 0; b < lens.count; ++b)
      for (int j = 0; j < image.count; ++j) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        JitterPoint eye{state_.aperture * lens.points[b].x, state_.aperture * lens.points[b].y};
        accPerspective(fieldOfView, aspect, nearPlane, farPlane, image.points[j], eye, state_.focusDistance);
        cameraSequence(eyeAngleDegrees, eyeOffset);
        listMode = renderScene(stereoEye, listMode);
        accumulation_->add(1.0f / float(passes));
      }
  }
  accumulation_->writeBack();
}

void DvDisplayManager::accFrustum(double left, double right, double bottom, double top, double zNear, double zFar,
                                  JitterPoint pixel, JitterPoint eye, double focus) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const double width = viewport[2] > 0 ? viewport[2] : 1, height = viewport[3] > 0 ? viewport[3] : 1;
  const double dx = -(pixel.x * (right - left) / width + eye.x * zNear / focus);
  const double dy = -(pixel.y * (top - bottom) / height + eye.y * zNear / focus);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(left + dx, right + dx, bottom + dy, top + dy, zNear, zFar);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(-eye.x, -eye.y, 0.0f);
}

void DvDisplayManager::accPerspective(double fovyDegrees, double aspect, double zNear, double zFar,
                                      JitterPoint pixel, JitterPoint eye, double focus) {
  const double top = zNear * std::tan(fovyDegrees * kPi / 360.0);
  const double right = top * aspect;
  accFrustum(-right, right, -top, top, zNear, zFar, pixel, eye, focus);
}

int DvDisplayManager::renderScene(int eye, int listMode) {
  if (!root_) return listMode;
  if (needsCompiling) {
    root_->compileTexture(state_);
    needsCompiling = 0;
  }
  return renderRoutine(eye, listMode);
}

int DvDisplayManager::drawList(int listNumber, int listMode, bool software, const DrawPass& pass) {
  auto draw = [&] {
    if (software)
      root_->renderSoftware(state_, pass);
    else
      root_->render(state_, pass);
  };
  switch (listMode) {
  case 0:
    draw();
    return 0;
  case 1:
    glNewList(GLuint(listNumber), GL_COMPILE_AND_EXECUTE);
    draw();
    glEndList();
    return 2;
  case 2:
    glCallList(GLuint(listNumber));
    return 2;
  default:
    return listMode;
  }
}

// The faces in black fill the depth buffer, pushed back by a polygon offset
// so the edges lying on them stay in front; then the edges, which the nearer
// faces hide. The outline pass draws in the Outline style; the settings stay
// at hidden line.
void DvDisplayManager::drawHiddenLine(int eye, int listMode, int& result) {
  const DrawPass outline(RenderStyle::Outline, eye), faces(RenderStyle::HiddenLine, eye);
  glLineWidth(2.0f);
  glDisable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glColor3f(0, 0, 0);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(1.0f, 1.0f);
  result = drawList(kSceneList, listMode, false, faces);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glDepthFunc(GL_LEQUAL);
  drawList(kOutlineList, listMode, false, outline);
  glDepthFunc(GL_LESS);
  glLineWidth(1.0f);
}

int DvDisplayManager::renderRoutine(int eye, int listMode) {
  const bool software = state_.softwareShading != 0;
  const DrawPass pass(state_.renderStyle, eye);
  switch (state_.renderStyle) {
  case RenderStyle::Textured:
  case RenderStyle::Untextured:
    if (software)
      glDisable(GL_LIGHTING);
    else
      glEnable(GL_LIGHTING);
    return drawList(kSceneList, listMode, software, pass);
  case RenderStyle::Wireframe:
    glDisable(GL_LIGHTING);
    return drawList(kSceneList, listMode, false, pass);
  case RenderStyle::HiddenLine: {
    int result = listMode;
    drawHiddenLine(eye, listMode, result);
    return result;
  }
  default:
    printWarning("Error in DvDisplayManager::renderRoutine(): Unknown render style\n");
    return listMode;
  }
}

} // namespace quillmere
