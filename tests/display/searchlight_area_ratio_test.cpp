#include "../support/converted_scene.h"

#include "display/indexed_face_set.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <cmath>

using namespace quillmere;
using namespace quillmere::test;

namespace {

Vector3 triangleNormalTwice(const Vector3& a, const Vector3& b, const Vector3& c) { return cross(b - a, c - a); }

} // namespace

// Shrunk surfaces look brighter: at β = 0.6 along +z a resting P, seen by light
// sent at t = −|P|, appears at (x, y, γ(z + β|P|)). The triangle (4, 0, 0),
// (0, 0, 4), (0, 4, 0) (area 8√3) appears with area √1056/2: ratio 0.853, not 1.17.
TEST(SearchlightAreaRatio, IsTheFileAreaOverTheApparentArea) {
  ConvertedScene scene = convert("Separator { " + pointsAndNormals("4 0 0, 0 0 4, 0 4 0", 3) +
                                 "IndexedFaceSet { coordIndex [0, 1, 2] } }");
  const DvIndexedFaceSet& faces = faceSetAt(scene);
  const float beta = 0.6f, gamma = 1.25f;
  const Vector3 points[3] = {{4, 0, 0}, {0, 0, 4}, {0, 4, 0}};
  Vector3 seen[3];
  for (int i = 0; i < 3; ++i) {
    const Vector3& p = points[i];
    seen[i] = Vector3(p.x, p.y, gamma * (p.z + beta * p.length()));
  }
  const float expected = triangleNormalTwice(points[0], points[1], points[2]).length() /
                         triangleNormalTwice(seen[0], seen[1], seen[2]).length();
  EXPECT_NEAR(expected, 8 * std::sqrt(3.0f) / (std::sqrt(1056.0f) / 2), 1e-5f); // the worked numbers above

  DvRenderState state;
  state.colourShift = ColourShift::Searchlight;
  transformFor(scene, observerAlongZ(beta), state);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(faces.areaRatio(i), expected, 1e-4f) << "vertex " << i;
}
