// Drawing an imported glTF file: the crate's picture on its face, the moving node where its light left it.
#include "../display/display_gl_fixture.h"

#include "scene/model_import.h"

#include <cmath>

namespace quillmere::test {
namespace {

using ModelImportGL = DisplayGL;

TEST_F(ModelImportGL, FindsTheTexturedFaceAndTheMovingNode) {
  DvGroup root;
  ConversionOptions options;
  options.sceneFolder = std::string(QUILLMERE_TEST_DATA) + "/scene";
  ConversionResult result = importModel(options.sceneFolder + "/drawing.gltf", root, options);
  ASSERT_TRUE(result.ok) << result.error;
  DvRenderState state;
  state.buildMipmaps = 0;
  root.compileTexture(state);
  const RelObserver observer = observerAlongZ(0.0f);
  Frame frame = draw(root, observer, state);
  frame.saveForInspection("model_import_drawing");

  // The crate (centre (0, 1.5, 6), its −z face at z = 5.5) shows the red and
  // white checks of its picture under a white light along the normal.
  float crateX, crateY;
  project(observer, Vector3(0, 1.5f, 5.5f), crateX, crateY);
  long red = 0, white = 0;
  for (int dy = -6; dy <= 6; ++dy)
    for (int dx = -6; dx <= 6; ++dx) {
      const Pixel p = frame.at(int(crateX) + dx, int(crateY) + dy);
      if (p.r > 180 && p.g < 90 && p.b < 90) ++red;
      if (p.r > 200 && p.g > 200 && p.b > 200) ++white;
    }
  EXPECT_GT(red, 20);
  EXPECT_GT(white, 20);

  // The runner rests at (2, −1.5, 6) in a frame moving at β = 0.5 along +x: x(t) = 2/γ + βt.
  // Light reaching the origin at t = 0 left at t_e < 0 with |p(t_e)| = −t_e:
  // (1 − β²) t² − 2 (2/γ) β t − ((2/γ)² + 1.5² + 6²) = 0.
  const double beta = 0.5, gamma = 1.0 / std::sqrt(1.0 - beta * beta), x0 = 2.0 / gamma;
  const double a = 1.0 - beta * beta, b = -2.0 * x0 * beta, c = -(x0 * x0 + 1.5 * 1.5 + 36.0);
  const double emitted = (-b - std::sqrt(b * b - 4.0 * a * c)) / (2.0 * a);
  float seenX, seenY, restX, restY;
  project(observer, Vector3(float(x0 + beta * emitted), -1.5f, 6.0f), seenX, seenY);
  project(observer, Vector3(2.0f, -1.5f, 6.0f), restX, restY);
  float drawnX, drawnY;
  ASSERT_TRUE(frame.centroidOfDrawn(kBlack, drawnX, drawnY, 0, kGLTestSize / 2));
  EXPECT_NEAR(drawnX, seenX, 3.0f); // pixels: the cube's visible faces are not centred on its centre
  EXPECT_NEAR(drawnY, seenY, 3.0f);
  EXPECT_GT(std::fabs(seenX - restX), 30.0f); // far from where a node at rest would be
}

} // namespace
} // namespace quillmere::test
