#include "render/display_manager.h"

#include "diagnostics/diagnostics.h"
#include "display/group.h"
#include "relativity/observer.h"
#include "render/render_state.h"
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
    if (overlay_) {
      overlay_->speed = observer_->speed();
      overlay_->acceleration = observer_->acceleration();
      overlay_->turnRate = observer_->turnRate();
      overlay_->time = time;
      overlay_->event = observer_->event();
      overlay_->frameNumber = frameCounter;
    }
  }
  ++frameCounter;
  time += timeStep;
  return time <= endTime;
}

void DvDisplayManager::updateScene() {
  if (!observer_ || !root_) return;
  if (state_.snapshotPerUpdate) observer_->snapshot();
  state_.currentEye = 0;
  if (state_.stereoPerEye) {
    if (state_.trace) std::fprintf(stderr, "for both eyes\n");
    observer_->setEyeOffset(-0.5f * state_.eyeSeparation);
    frameHolder_ = FrameHolder();
    root_->relativisticTransform(*observer_, state_, frameHolder_);
    state_.currentEye = 1;
    observer_->setEyeOffset(0.5f * state_.eyeSeparation);
    frameHolder_ = FrameHolder();
    root_->relativisticTransform(*observer_, state_, frameHolder_);
    state_.currentEye = 0;
  } else {
    frameHolder_ = FrameHolder();
    root_->relativisticTransform(*observer_, state_, frameHolder_);
  }
}

void DvDisplayManager::drawOverlay() const {
  if (overlay_ && overlayOn) overlay_->draw();
}

void DvDisplayManager::display(int noSwap) {
  if (glGetError() != GL_NO_ERROR) printWarning("OpenGL Error in DvDisplayManager::display()\n");
  setUpFaces();
  state_.currentEye = 0;

  // Convergence of the two eyes on the focus plane.
  const float e = state_.eyeSeparation;
  const double convergence = 2.0 * std::asin(double(e) / (2.0 * double(state_.focusDistance)));
  const float a = float(convergence * 90.0 / kPi);
  bool overlayDrawn = false;

  if (state_.stereoIdealObserver) {
    if (state_.trace) {
      std::fprintf(stderr, "Stereo (Ideal Observer)  %g   %g\n", double(e), convergence);
      std::fflush(stderr);
    }
    selectDrawBuffer(GL_BACK_LEFT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(-a, -0.5f * e);
    selectDrawBuffer(GL_BACK_RIGHT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(a, 0.5f * e);
    selectDrawBuffer(GL_BACK);
  } else if (state_.stereoDualScreen) {
    // Side by side, each half with its own overlay; the one swap comes at the end.
    if (state_.trace) std::fprintf(stderr, "Dual Screen Stereo\n");
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    selectDrawBuffer(GL_BACK);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLint half = viewport[2] / 2;
    glViewport(viewport[0], viewport[1], half, viewport[3]);
    renderView(-a, -0.5f * e);
    drawOverlay();
    glViewport(viewport[0] + half, viewport[1], viewport[2] - half, viewport[3]);
    renderView(a, 0.5f * e);
    drawOverlay();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    overlayDrawn = true;
  } else if (state_.stereoPerEye) {
    selectDrawBuffer(GL_BACK_LEFT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    state_.currentEye = 0;
    renderView(-a, 0);
    selectDrawBuffer(GL_BACK_RIGHT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    state_.currentEye = 1;
    renderView(a, 0);
    selectDrawBuffer(GL_BACK);
    state_.currentEye = 0;
  } else {
    selectDrawBuffer(state_.doubleBuffer ? GL_BACK : GL_FRONT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderView(0, 0);
  }

  if (!overlayDrawn) drawOverlay();
  if (state_.doubleBuffer && noSwap == 0 && viewer_) viewer_->swapBuffers();
  glFlush();
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

void DvDisplayManager::renderView(float eyeAngleDegrees, float eyeOffset) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const double aspect = double(viewport[2]) * aspectFactor / double(viewport[3] > 0 ? viewport[3] : 1);

  const JitterTable image = getJitter(state_.antialiasing ? state_.antialiasingSamples : 1);
  const JitterTable lens = getJitter(state_.depthOfField ? state_.depthOfFieldSamples : 1);
  const int timeSamples = state_.motionBlur ? boundedMotionSamples(state_.motionSamples) : 1;
  const int passes = timeSamples * lens.count * image.count;
  int listMode = lens.count * image.count > 1 ? 1 : 0;

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
    renderScene(listMode);
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
        listMode = renderScene(listMode);
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

int DvDisplayManager::renderScene(int listMode) {
  if (!root_) return listMode;
  if (needsCompiling) {
    root_->compileTexture(state_);
    needsCompiling = 0;
  }
  return renderRoutine(listMode);
}

int DvDisplayManager::drawList(int listNumber, int listMode, bool software) {
  auto draw = [&] {
    if (software)
      root_->renderSoftware(state_, 0);
    else
      root_->render(state_);
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

// Outlines drawn into the stencil buffer mask the hidden faces, which are
// drawn in black; the outlines again on top.
void DvDisplayManager::drawHiddenLine(int listMode, int& result) {
  glLineWidth(2.0f);
  glDisable(GL_LIGHTING);
  glEnable(GL_STENCIL_TEST);
  glEnable(GL_DEPTH_TEST);
  glClear(GL_STENCIL_BUFFER_BIT);
  glStencilFunc(GL_ALWAYS, 0, 1);
  glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
  state_.renderStyle = DvRenderState::Outline;
  int outlineMode = drawList(kOutlineList, listMode, false);
  glColor3f(0, 0, 0);
  glStencilFunc(GL_EQUAL, 0, 1);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  state_.renderStyle = DvRenderState::HiddenLine;
  result = drawList(kSceneList, listMode, false);
  glStencilFunc(GL_ALWAYS, 0, 1);
  glStencilOp(GL_INVERT, GL_INVERT, GL_INVERT);
  state_.renderStyle = DvRenderState::Outline;
  drawList(kOutlineList, outlineMode, false);
  state_.renderStyle = DvRenderState::HiddenLine;
  glLineWidth(1.0f);
}

int DvDisplayManager::renderRoutine(int listMode) {
  const bool software = state_.softwareShading != 0;
  switch (state_.renderStyle) {
  case DvRenderState::Textured:
  case DvRenderState::Untextured:
    if (software)
      glDisable(GL_LIGHTING);
    else
      glEnable(GL_LIGHTING);
    return drawList(kSceneList, listMode, software);
  case DvRenderState::Wireframe:
    glDisable(GL_LIGHTING);
    return drawList(kSceneList, listMode, false);
  case DvRenderState::HiddenLine: {
    int result = listMode;
    drawHiddenLine(listMode, result);
    return result;
  }
  default:
    printWarning("Error in DvDisplayManager::renderRoutine(): Unknown render style\n");
    return listMode;
  }
}

} // namespace quillmere
