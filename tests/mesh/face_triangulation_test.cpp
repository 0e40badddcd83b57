#include "../support/converted_scene.h"

#include "display/indexed_face_set.h"
#include "mesh/face_triangulation.h"

#include <vector>

namespace quillmere::test {
namespace {

std::vector<int> triangles(const std::vector<std::int32_t>& coordIndex, int points, long* leftOut = nullptr) {
  FaceTriangulation result = triangulateFaces(coordIndex.data(), long(coordIndex.size()), points);
  if (leftOut) *leftOut = result.facesLeftOut;
  return result.triangles;
}

TEST(FaceTriangulation, FansEveryFaceAndKeepsTriangleFilesAsTheyWere) {
  // −1-terminated triangles come out exactly as written.
  EXPECT_EQ(triangles({0, 1, 2, -1, 2, 3, 0, -1}, 4), (std::vector<int>{0, 1, 2, 2, 3, 0}));
  // Two quadrilaterals: two triangles each, in the face's winding; no (−1, 4, 5).
  EXPECT_EQ(triangles({0, 1, 2, 3, -1, 4, 5, 6, 7, -1}, 8),
            (std::vector<int>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
  // A last face without −1 counts; faces of fewer than three vertices are none.
  EXPECT_EQ(triangles({0, 1, -1, -1, 3, 2, 1}, 4), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(triangles({}, 4).empty());
  // A face with an index outside the points is left out whole and counted.
  long leftOut = 0;
  EXPECT_EQ(triangles({0, 1, 4, -1, 0, 1, 2, -1, -2, 0, 1, -1}, 4, &leftOut), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(leftOut, 2);
}

// The area the triangles cover in the xy plane; every one must turn the face's way (counter-clockwise).
float coveredArea(const float (*at)[3], const std::vector<int>& triangles) {
  float total = 0;
  for (std::size_t t = 0; t + 2 < triangles.size(); t += 3) {
    const float *a = at[triangles[t]], *b = at[triangles[t + 1]], *c = at[triangles[t + 2]];
    const float area = 0.5f * ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]));
    EXPECT_GT(area, 0.0f) << "triangle " << t / 3;
    total += area;
  }
  return total;
}

TEST(FaceTriangulation, ConcaveFacesAreCutIntoEarsInsideThem) {
  // An L of area 3 in the plane z = 1, counter-clockwise seen from +z,
  // listed from its corner (2, 1), where a fan would cover 4.
  const float points[6][3] = {{2, 1, 1}, {1, 1, 1}, {1, 2, 1}, {0, 2, 1}, {0, 0, 1}, {2, 0, 1}};
  const std::vector<std::int32_t> face = {0, 1, 2, 3, 4, 5, -1};
  FaceTriangulation ears = triangulateFaces(face.data(), long(face.size()), 6, points);
  ASSERT_EQ(ears.triangles.size(), 12u); // n − 2 triangles
  EXPECT_NEAR(coveredArea(points, ears.triangles), 3.0f, 1e-5f);

  // The conversion cuts ears only where ShapeHints says faces may be concave.
  ConvertedScene concave = convert("Separator { ShapeHints { faceType UNKNOWN_FACE_TYPE } "
                                   "Coordinate3 { point [2 1 1, 1 1 1, 1 2 1, 0 2 1, 0 0 1, 2 0 1] } "
                                   "IndexedFaceSet { coordIndex [0, 1, 2, 3, 4, 5] } }");
  const DvIndexedFaceSet& faces = faceSetAt(concave);
  float converted = 0;
  for (long t = 0; t < faces.triangleCount(); ++t) converted += faces.triangleArea(t);
  EXPECT_NEAR(converted, 3.0f, 1e-5f);

  // The same L as exporters write it, a corner repeated and one in the middle
  // of an edge: no area added, no triangle reaching outside the L.
  const float morePoints[][3] = {{2, 1, 0}, {1, 1, 0}, {1, 1, 0}, {1, 2, 0},
                                 {0, 2, 0}, {0, 1, 0}, {0, 0, 0}, {2, 0, 0}};
  const std::vector<std::int32_t> untidy = {0, 1, 2, 3, 4, 5, 6, 7};
  FaceTriangulation tidy = triangulateFaces(untidy.data(), long(untidy.size()), 8, morePoints);
  EXPECT_NEAR(coveredArea(morePoints, tidy.triangles), 3.0f, 1e-5f);
}

} // namespace
} // namespace quillmere::test
