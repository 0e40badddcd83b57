// Face sets whose normals are not one per point: bindings, generated normals, split vertices.
#include "../support/converted_scene.h"

#include "../relativity/expect_vector.h"
#include "display/indexed_face_set.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace quillmere::test {
namespace {

const DvVertex& corner(const DvIndexedFaceSet& faces, long triangle, int c) {
  return faces.vertices()[faces.indices()[3 * triangle + c]];
}

// The unit cube's corners: the square z = 0 counter-clockwise from the origin seen from +z, then z = 1 likewise.
const std::string kCubePoints = "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0, 0 0 1, 1 0 1, 1 1 1, 0 1 1] } ";
// Its six squares, counter-clockwise seen from outside.
const std::vector<std::vector<int>> kCubeFaces = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                  {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}};

std::string cubeFaceSet(bool reversed) {
  std::string list;
  for (std::vector<int> face : kCubeFaces) {
    if (reversed) std::reverse(face.begin(), face.end());
    for (int point : face) list += std::to_string(point) + ", ";
    list += "-1, ";
  }
  return "IndexedFaceSet { coordIndex [" + list + "] } ";
}

// Every triangle winds counter-clockwise from outside, every corner's normal its face's outward axis.
void expectOutwardCube(const DvIndexedFaceSet& faces) {
  ASSERT_EQ(faces.triangleCount(), 12);
  const Vector3 centre(0.5f, 0.5f, 0.5f);
  for (long t = 0; t < faces.triangleCount(); ++t) {
    Vector3 a = corner(faces, t, 0).position, b = corner(faces, t, 1).position, c = corner(faces, t, 2).position;
    Vector3 outward = (1.0f / 3.0f) * (a + b + c) - centre;
    // The face's own axis: the one coordinate all three corners share.
    Vector3 axis;
    for (int i = 0; i < 3; ++i)
      if (a[i] == b[i] && b[i] == c[i]) axis[i] = a[i] > 0.5f ? 1.0f : -1.0f;
    EXPECT_GT(dot(cross(b - a, c - a), axis), 0.0f) << "triangle " << t;
    EXPECT_GT(dot(axis, outward), 0.0f);
    for (int k = 0; k < 3; ++k) expectVector(corner(faces, t, k).normal, axis);
  }
}

TEST(GeneratedNormals, CubeFacesPointOutwardsWithSharpCorners) {
  // No Normal node: Newell normals, kept apart across the 90° edges (above the 0.5 rad default).
  ConvertedScene facesScene = convert("Separator { " + kCubePoints + cubeFaceSet(false) + "}");
  const DvIndexedFaceSet& faces = faceSetAt(facesScene);
  expectOutwardCube(faces);
  EXPECT_EQ(faces.vertexCount(), 24); // every corner point once per face meeting there

  // Faces listed clockwise, and said so: the same outward cube.
  ConvertedScene clockwise = convert("Separator { ShapeHints { vertexOrdering CLOCKWISE creaseAngle 0.5 } " +
                                     kCubePoints + cubeFaceSet(true) + "}");
  expectOutwardCube(faceSetAt(clockwise));
  EXPECT_EQ(faceSetAt(clockwise).vertexCount(), 24);
  EXPECT_EQ(clockwise.output, "");
}

// The octahedron with corners ±x, ±y, ±z, each face counter-clockwise seen from outside.
std::string octahedron(float creaseAngle) {
  std::string list;
  for (int sx = 0; sx < 2; ++sx)
    for (int sy = 0; sy < 2; ++sy)
      for (int sz = 0; sz < 2; ++sz) {
        int x = sx, y = 2 + sy, z = 4 + sz;
        bool odd = (sx + sy + sz) % 2 == 1; // an odd number of negative axes reverses the turn
        list += std::to_string(x) + "," + std::to_string(odd ? z : y) + "," + std::to_string(odd ? y : z) + ",-1,";
      }
  return "Separator { ShapeHints { creaseAngle " + std::to_string(creaseAngle) +
         " } Coordinate3 { point [1 0 0, -1 0 0, 0 1 0, 0 -1 0, 0 0 1, 0 0 -1] } "
         "IndexedFaceSet { coordIndex [" + list + "] } }";
}

TEST(GeneratedNormals, SmoothBelowTheCreaseAngleSharpAbove) {
  // Neighbouring faces' normals differ by acos(1/3) ≈ 1.23 rad.
  ConvertedScene smoothScene = convert(octahedron(3.0f));
  const DvIndexedFaceSet& smooth = faceSetAt(smoothScene);
  ASSERT_EQ(smooth.triangleCount(), 8);
  EXPECT_EQ(smooth.vertexCount(), 6);
  for (int v = 0; v < smooth.vertexCount(); ++v) // by symmetry the mean normal is the corner's direction
    expectVector(smooth.vertices()[v].normal, smooth.vertices()[v].position);

  ConvertedScene sharpScene = convert(octahedron(1.0f));
  const DvIndexedFaceSet& sharp = faceSetAt(sharpScene);
  EXPECT_EQ(sharp.vertexCount(), 24);
  const float third = 1.0f / std::sqrt(3.0f);
  for (int v = 0; v < sharp.vertexCount(); ++v) {
    const Vector3& n = sharp.vertices()[v].normal;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(std::fabs(n[i]), third, kTight);
    EXPECT_GT(dot(n, sharp.vertices()[v].position), 0.0f);
  }
}

TEST(GeneratedNormals, ConcaveFaceKeepsItsSide) {
  // An L-shaped hexagon in z = 0 whose fan from (2, 0) has a triangle turned over: a normal
  // from any one triangle could point down; Newell's normal does not.
  ConvertedScene facesScene = convert("Separator { Coordinate3 { point [2 0 0, 2 1 0, 1 1 0, 1 2 0, 0 2 0, 0 0 0] } "
                          "IndexedFaceSet { coordIndex [0, 1, 2, 3, 4, 5] } }");
  const DvIndexedFaceSet& faces = faceSetAt(facesScene);
  ASSERT_EQ(faces.vertexCount(), 6);
  for (int v = 0; v < 6; ++v) expectVector(faces.vertices()[v].normal, {0, 0, 1});
}

const std::string kTwoSquares = "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0, 1 0 -1, 1 1 -1] } ";
const std::string kTwoSquareFaces = "coordIndex [0, 1, 2, 3, -1, 1, 4, 5, 2, -1] ";

TEST(NormalBindings, PerFaceNormalsLandOnTheirFacesTriangles) {
  for (const char* binding : {"PER_FACE", "PER_PART"}) {
    ConvertedScene facesScene = convert("Separator { " + kTwoSquares + "Normal { vector [0 0 1, 1 0 0] } NormalBinding { value " +
                            binding + " } IndexedFaceSet { " + kTwoSquareFaces + "} }");
  const DvIndexedFaceSet& faces = faceSetAt(facesScene);
    ASSERT_EQ(faces.triangleCount(), 4);
    EXPECT_EQ(faces.vertexCount(), 8); // points 1 and 2 belong to both faces
    for (long t = 0; t < 4; ++t)
      for (int k = 0; k < 3; ++k) expectVector(corner(faces, t, k).normal, t < 2 ? Vector3(0, 0, 1) : Vector3(1, 0, 0));
  }
  // Indexed: the second face takes normal 0, the first normal 1.
  ConvertedScene indexedScene = convert("Separator { " + kTwoSquares + "Normal { vector [0 0 -1, 0 0 1] } "
                          "NormalBinding { value PER_FACE_INDEXED } IndexedFaceSet { " + kTwoSquareFaces +
                          "normalIndex [1, 0] } }");
  const DvIndexedFaceSet& indexed = faceSetAt(indexedScene);
  expectVector(corner(indexed, 0, 0).normal, {0, 0, 1});
  expectVector(corner(indexed, 3, 2).normal, {0, 0, -1});
}

TEST(NormalBindings, PerVertexNormalsFollowTheCorners) {
  // PER_VERTEX: the normals in corner order; PER_VERTEX_INDEXED with a
  // normalIndex that is not the coordIndex: a point meeting two normals is two vertices.
  const std::string normals = "Normal { vector [0 0 1, 0 0 1, 0 0 1, 0 0 1, 0 0 1, 1 0 0] } ";
  ConvertedScene inOrderScene = convert("Separator { " + kTwoSquares + "Normal { vector [0 0 1, 0 0 1, 0 0 1, 0 0 1, 1 0 0, 1 0 0, 1 0 0, "
                                             "1 0 0] } NormalBinding { value PER_VERTEX } IndexedFaceSet { " +
              kTwoSquareFaces + "} }");
  const DvIndexedFaceSet& inOrder = faceSetAt(inOrderScene);
  EXPECT_EQ(inOrder.vertexCount(), 8);
  expectVector(corner(inOrder, 2, 0).normal, {1, 0, 0});

  // One normal per point, but not looked up by the point's index.
  ConvertedScene indexedScene = convert("Separator { " + kTwoSquares + normals + "NormalBinding { value PER_VERTEX_INDEXED } "
                          "IndexedFaceSet { " + kTwoSquareFaces + "normalIndex [0, 0, 0, 0, -1, 5, 5, 5, 5, -1] } }");
  const DvIndexedFaceSet& indexed = faceSetAt(indexedScene);
  EXPECT_EQ(indexed.vertexCount(), 8);
  for (long t = 0; t < 4; ++t)
    for (int k = 0; k < 3; ++k) {
      const DvVertex& v = corner(indexed, t, k);
      expectVector(v.normal, t < 2 ? Vector3(0, 0, 1) : Vector3(1, 0, 0));
      if (t >= 2) {
        EXPECT_FLOAT_EQ(v.position.x, 1.0f); // the second square lies in x = 1
      }
    }
}

TEST(NormalBindings, ShortNormalIndexWarnsWithCountsAndFillsIn) {
  // The second square's last three corners have no normalIndex entry: of its
  // triangles (1 4 5) and (1 5 2), corners 5, 2 and the 5 again go without.
  ConvertedScene scene = convert("Separator { " + kTwoSquares + "Normal { vector [0 0 1] } "
                                 "IndexedFaceSet { " + kTwoSquareFaces + "normalIndex [0, 0, 0, 0, -1, 0, 0] } }");
  const DvIndexedFaceSet& faces = faceSetAt(scene);
  EXPECT_EQ(scene.output, "IndexedFaceSet: 3 of 12 triangle corners have no normal among the 1 normals "
                          "(normalIndex: 7 entries, 2 faces); their normals are generated\n");
  // The second square faces +x seen from its winding: that is the generated normal.
  expectVector(corner(faces, 3, 1).normal, {1, 0, 0});
  expectVector(corner(faces, 3, 0).normal, {0, 0, 1}); // point 1 from the list
}

TEST(NormalBindings, TextureCoordinateIndexSplitsSeams) {
  // Two squares side by side sharing points 1 and 2, each mapping the whole texture.
  ConvertedScene facesScene = convert("Separator { Texture2 { image 1 1 3 0xffffff } Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 0 0, 2 1 0] } TextureCoordinate2 { point [0 0, 1 0, 1 1, 0 1] } "
              "IndexedFaceSet { " + kTwoSquareFaces + "textureCoordIndex [0, 1, 2, 3, -1, 0, 1, 2, 3, -1] } }");
  const DvIndexedFaceSet& faces = faceSetAt(facesScene, kFirstConverted + 1);
  ASSERT_TRUE(faces.hasTextureCoordinates());
  EXPECT_EQ(faces.vertexCount(), 8); // not 6: points 1 and 2 have (1, 0), (1, 1) in one square and (0, 0), (0, 1) in the other
  EXPECT_FLOAT_EQ(corner(faces, 2, 0).texCoord[0], 0.0f); // point 1 starts the second square
  EXPECT_FLOAT_EQ(corner(faces, 0, 1).texCoord[0], 1.0f); // and is the first square's second corner
}

TEST(NormalBindings, PointNormalFilesKeepOneVertexPerPoint) {
  // One normal per point (by default, by an equal normalIndex, OVERALL): vertex i is point i,
  // the fans stay in file order whatever ShapeHints say; the last face, clockwise towards its
  // normals, is turned round so that two-sided lighting lights that side.
  const std::string points = "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] } ";
  const std::string normals = "Normal { vector [0 0 1, 0 0.6 0.8, 0.6 0 0.8, 0 -0.6 0.8] } ";
  const std::vector<int> fans = {0, 1, 2, 0, 2, 3, 3, 0, 1};
  for (const std::string& extra : {std::string(""), std::string("ShapeHints { vertexOrdering CLOCKWISE } "),
                                   std::string("NormalBinding { value PER_VERTEX_INDEXED } ")}) {
    for (const std::string& normalIndex : {std::string(""), std::string("normalIndex [0, 1, 2, 3, -1, 3, 1, 0]")}) {
      ConvertedScene facesScene = convert("Separator { " + extra + points + normals +
                                                          "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1, 3, 1, 0] " +
                                                          normalIndex + "} }");
  const DvIndexedFaceSet& faces = faceSetAt(facesScene);
      ASSERT_EQ(faces.vertexCount(), 4);
      EXPECT_EQ(std::vector<int>(faces.indices(), faces.indices() + faces.indexCount()), fans);
      expectVector(faces.vertices()[1].position, {1, 0, 0});
      expectVector(faces.vertices()[1].normal, {0, 0.6f, 0.8f});
      expectVector(faces.vertices()[3].normal, {0, -0.6f, 0.8f});
    }
  }
  ConvertedScene overallScene = convert("Separator { " + points + "Normal { vector [0 1 0] } "
                                                        "NormalBinding { value OVERALL } "
                                                        "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1, 3, 1, 0] } }");
  const DvIndexedFaceSet& overall = faceSetAt(overallScene);
  ASSERT_EQ(overall.vertexCount(), 4);
  // A normal in the faces' plane names neither side: the file's fans stay.
  EXPECT_EQ(std::vector<int>(overall.indices(), overall.indices() + overall.indexCount()),
            std::vector<int>({0, 1, 2, 0, 2, 3, 3, 1, 0}));
  expectVector(overall.vertices()[2].normal, {0, 1, 0});
}

} // namespace
} // namespace quillmere::test
