#include "mesh/subdivision.h"

#include "../support/converted_scene.h"
#include "display/indexed_face_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace quillmere::test {
namespace {

DvVertex vertexAt(float x, float y, float s, float t) {
  DvVertex v;
  v.position = Vector3(x, y, 0);
  v.normal = Vector3(0, 0, 1);
  v.texCoord[0] = s;
  v.texCoord[1] = t;
  return v;
}

float signedArea(const std::vector<DvVertex>& v, const int* corner) {
  const Vector3 &a = v[std::size_t(corner[0])].position, &b = v[std::size_t(corner[1])].position,
                &c = v[std::size_t(corner[2])].position;
  return 0.5f * cross(b - a, c - a).z;
}

TEST(Subdivision, SplitsLongEdgesWithoutCracks) {
  // A 4 × 4 square of two triangles, texture coordinates following x and y.
  std::vector<DvVertex> vertices = {vertexAt(0, 0, 0, 0), vertexAt(4, 0, 1, 0), vertexAt(4, 4, 1, 1),
                                    vertexAt(0, 4, 0, 1)};
  std::vector<int> triangles = {0, 1, 2, 0, 2, 3};
  std::vector<float> areas = {8, 8};
  ASSERT_TRUE(subdivideTriangles(vertices, triangles, areas, 1.5f, 10000));

  std::map<std::pair<int, int>, int> edgeUses; // undirected edge → triangles using it
  float total = 0, storedTotal = 0;
  for (std::size_t t = 0; t < triangles.size() / 3; ++t) {
    const int* corner = &triangles[3 * t];
    float area = signedArea(vertices, corner);
    EXPECT_GT(area, 0.0f); // the winding is kept
    total += area;
    storedTotal += areas[t];
    for (int k = 0; k < 3; ++k) {
      int a = corner[k], b = corner[(k + 1) % 3];
      Vector3 edge = vertices[std::size_t(b)].position - vertices[std::size_t(a)].position;
      EXPECT_LE(edge.length(), 1.5f + 1e-5f);
      ++edgeUses[{std::min(a, b), std::max(a, b)}];
    }
  }
  EXPECT_NEAR(total, 16.0f, 1e-4f);
  EXPECT_NEAR(storedTotal, 16.0f, 1e-4f); // each half keeps half its parent's area
  // No crack: an edge used by one triangle only lies on the square's outline.
  for (const auto& [edge, uses] : edgeUses) {
    ASSERT_LE(uses, 2);
    if (uses == 2) continue;
    const Vector3 &a = vertices[std::size_t(edge.first)].position, &b = vertices[std::size_t(edge.second)].position;
    bool onOutline = (a.x == 0 && b.x == 0) || (a.x == 4 && b.x == 4) || (a.y == 0 && b.y == 0) || (a.y == 4 && b.y == 4);
    EXPECT_TRUE(onOutline) << a.x << "," << a.y << " - " << b.x << "," << b.y;
  }
  // Attributes are interpolated: s = x/4, t = y/4 everywhere, normals unit.
  for (const DvVertex& v : vertices) {
    EXPECT_NEAR(v.texCoord[0], v.position.x / 4, 1e-6f);
    EXPECT_NEAR(v.texCoord[1], v.position.y / 4, 1e-6f);
    EXPECT_NEAR(v.normal.length(), 1.0f, 1e-6f);
  }

  // A vertex cap stops it: reported, and every index stays valid.
  std::vector<DvVertex> few = {vertexAt(0, 0, 0, 0), vertexAt(4, 0, 1, 0), vertexAt(0, 4, 0, 1)};
  std::vector<int> one = {0, 1, 2};
  std::vector<float> oneArea = {8};
  EXPECT_FALSE(subdivideTriangles(few, one, oneArea, 0.5f, 10));
  EXPECT_EQ(few.size(), 10u);
  for (int index : one) EXPECT_LT(std::size_t(index), few.size());
}

TEST(Subdivision, ConversionSplitsInWorldUnits) {
  // A triangle with 2-unit legs, scaled by 2 in the world: legs of 4 split at 1.
  const std::string triangle = "Separator { Scale { scaleFactor 2 2 2 } " +
                               pointsAndNormals("0 0 0, 2 0 0, 0 2 0", 3) + "IndexedFaceSet { coordIndex [0, 1, 2] } }";
  ConversionOptions options;
  options.maxEdgeLength = 1.0f;
  EXPECT_EQ(convert(triangle).result.summary.triangles, 1);
  ConvertedScene split = convert(triangle, options);
  EXPECT_GE(split.result.summary.triangles, 16); // legs of 4 into pieces of at most 1: (4)² triangles at least
  EXPECT_EQ(split.result.summary.displayVertices, faceSetAt(split).vertexCount());

  // Colours per vertex follow the split: a triangle with red, green and blue
  // corners shows at every vertex made its barycentric coordinates as colour.
  ConvertedScene coloured = convert("Separator { Material { diffuseColor [1 0 0, 0 1 0, 0 0 1] } "
                                    "MaterialBinding { value PER_VERTEX } Coordinate3 { point [0 0 0, 4 0 0, 0 4 0] } "
                                    "IndexedFaceSet { coordIndex [0, 1, 2] } }", options);
  const DvIndexedFaceSet& faces = faceSetAt(coloured);
  ASSERT_EQ(faces.vertexMaterials().size(), std::size_t(faces.vertexCount()));
  EXPECT_GT(faces.vertexCount(), 3);
  for (int i = 0; i < faces.vertexCount(); ++i) {
    const Vector3& p = faces.vertices()[i].position;
    const Vector3& colour = faces.vertexMaterials()[std::size_t(i)].diffuse;
    EXPECT_NEAR(colour.y, p.x / 4, 1e-6f) << i;
    EXPECT_NEAR(colour.z, p.y / 4, 1e-6f) << i;
    EXPECT_NEAR(colour.x, 1 - p.x / 4 - p.y / 4, 1e-6f) << i;
  }
}

} // namespace
} // namespace quillmere::test
