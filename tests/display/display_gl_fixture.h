// The drawing tests' fixture: a converted scene drawn as the display manager draws a
// frame, through a 90° perspective (eye direction (x, y, z) lands at x_ndc = x / −z).
#pragma once

#include "../support/converted_scene.h"
#include "../colour/colour_test_support.h"
#include "../support/gl_test_window.h"

#include "colour/planck_spectrum.h"
#include "colour/spectral_light.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace quillmere::test {

inline const Pixel kBlack{0, 0, 0};

// Four normals towards the observer, for a quadrilateral in front of it.
inline const std::string kFacingNormals = "Normal { vector [0 0 -1, 0 0 -1, 0 0 -1, 0 0 -1] } ";

// A sunlike black body as the ambient light (slot 0, off) and shining from the observer (slot 1).
struct SunLights {
  PlanckSpectrum sunlight{1.0f, 5762.0f};
  SpectralLight ambient, light = directionalLight(&sunlight, {0, 0, -1}); // towards the observer's side

  SunLights() { ambient.setSpectrum(&sunlight); }
  void attach(DvRenderState& state) {
    state.setSpectralHeadlight(&ambient);
    state.setSpectralLight(1, &light);
  }
};

class DisplayGL : public testing::Test {
protected:
  void SetUp() override {
    if (!openGLTestWindow()) GTEST_SKIP() << "no display for an OpenGL context";
  }

  // A texture node's list leaves texturing on and the matrix mode at GL_TEXTURE.
  void TearDown() override {
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
  }

  // One frame: projection, the observer's view rotation, a white light from the eye, transform and draw.
  Frame draw(DvGroup& root, const RelObserver& observer, const DvRenderState& state, bool spectral = false) {
    glViewport(0, 0, kGLTestSize, kGLTestSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    if (cullBackFaces_) {
      glCullFace(GL_BACK);
      glFrontFace(GL_CCW);
      glEnable(GL_CULL_FACE);
    } else {
      glDisable(GL_CULL_FACE);
    }
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (programLights_) {
      // As the program lights a scene: its own lights, OpenGL's global ambient 0.2.
      const float globalAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
      glLightModelfv(GL_LIGHT_MODEL_AMBIENT, globalAmbient);
      for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + GLenum(i));
      state.applyGLLights();
    } else {
      const float noAmbient[4] = {0, 0, 0, 1}, fromEye[4] = {0, 0, 1, 0};
      glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
      glLightfv(GL_LIGHT0, GL_POSITION, fromEye);
      glEnable(GL_LIGHT0);
    }
    bool lit = !spectral && state.renderStyle <= RenderStyle::Untextured;
    if (lit)
      glEnable(GL_LIGHTING);
    else
      glDisable(GL_LIGHTING);
    glLoadMatrixf(observer.viewMatrix().m);
    FrameHolder holder;
    root.relativisticTransform(observer, state, DrawPass(state), holder);
    if (spectral)
      root.renderSoftware(state, DrawPass(state));
    else
      root.render(state, DrawPass(state));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return Frame::readBack();
  }

  bool cullBackFaces_ = false; // as the program draws: back faces culled
  bool programLights_ = false; // the render state's lights and the global ambient instead of one bare light

  // The pixel where the observer's view puts a direction given in world axes.
  static void project(const RelObserver& observer, const Vector3& direction, float& x, float& y) {
    const Matrix4& view = observer.viewMatrix();
    Vector3 eye(view(0, 0) * direction.x + view(0, 1) * direction.y + view(0, 2) * direction.z,
                view(1, 0) * direction.x + view(1, 1) * direction.y + view(1, 2) * direction.z,
                view(2, 0) * direction.x + view(2, 1) * direction.y + view(2, 2) * direction.z);
    x = (eye.x / -eye.z + 1.0f) * 0.5f * kGLTestSize;
    y = (eye.y / -eye.z + 1.0f) * 0.5f * kGLTestSize;
  }
};

} // namespace quillmere::test
