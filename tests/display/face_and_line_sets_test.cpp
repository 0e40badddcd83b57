#include "../support/converted_scene.h"

#include "../relativity/expect_vector.h"
#include "display/indexed_face_set.h"
#include "display/indexed_line_set.h"
#include "display/lod.h"
#include "display/rel_frame.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <cmath>
#include <vector>

namespace quillmere::test {
namespace {

TEST(IndexedFaceSet, WarnsOnceForFacesOutsideThePoints) {
  ConvertedScene scene = convert("Separator { " + pointsAndNormals("0 0 0, 1 0 0, 0 1 0", 3) +
                                 "IndexedFaceSet { coordIndex [0, 1, 7, -1, 0, 1, 2, -1, 3, 2, 1, -1] } }");
  const DvIndexedFaceSet& faces = faceSetAt(scene);
  EXPECT_EQ(faces.triangleCount(), 1);
  EXPECT_EQ(scene.output, "IndexedFaceSet: 2 faces left out, their vertex indices are outside the 3 points\n");
  EXPECT_NEAR(faces.triangleArea(0), 0.5f, kTight);
}

TEST(IndexedLineSet, BreaksStripsAtSeparatorsAndBadIndices) {
  ConvertedScene scene = convert("Separator { Coordinate3 { point [0 0 0, 1 0 0, 2 0 0, 3 0 0, 4 0 0] } "
                                 "IndexedLineSet { coordIndex [0, 1, 2, -1, 3, 4] } "
                                 "IndexedLineSet { coordIndex [0, 9, 1, 2] } }");
  auto* lines = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted);
  auto* bad = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted + 1);
  ASSERT_NE(lines, nullptr);
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(lines->indexCount(), 6);
  EXPECT_EQ(lines->lineVertexCount(), 5);
  long counts[4] = {};
  lines->countPrimitives(counts[0], counts[1], counts[2], counts[3]);
  EXPECT_EQ(counts[2], 6); // separators count as indices
  EXPECT_EQ(bad->verticesLeftOut(), 1);
  EXPECT_EQ(bad->indices()[1], -1); // the strip breaks where the bad vertex was
  for (int i = 0; i < lines->vertexCount(); ++i) expectVector(lines->vertices()[i].normal, {0, 1, 0});
}

TEST(IndexedLineSet, MaterialsPerSegmentLineOrVertexLandOnTheirVertices) {
  // Points at x = 0 .. 4; two polylines, 0–1–2 and 3–4.
  const std::string start = "Separator { Material { diffuseColor [1 0 0, 0 1 0, 0 0 1] } "
                            "Coordinate3 { point [0 0 0, 1 0 0, 2 0 0, 3 0 0, 4 0 0] } MaterialBinding { value ";
  const Vector3 r(1, 0, 0), g(0, 1, 0), b(0, 0, 1);
  struct Drawn {
    float x;
    Vector3 colour;
  };
  struct Case {
    const char* binding;
    const char* materialIndex;
    std::vector<Drawn> expected; // each vertex as the strips send it
    const char* warning;
  };
  const Case cases[] = {
      // Every segment its own strip, in its own colour from end to end.
      {"PER_PART", "", {{0, r}, {1, r}, {1, g}, {2, g}, {3, b}, {4, b}}, nullptr},
      {"PER_PART_INDEXED", "materialIndex [1]", {{0, g}, {1, g}, {1, r}, {2, r}, {3, r}, {4, r}},
       "4 vertices have no material among the 3 given"},
      {"PER_FACE_INDEXED", "materialIndex [2, 1]", {{0, b}, {1, b}, {2, b}, {3, g}, {4, g}}, nullptr},
      // The points' own indices name the materials; 3 and 4 have none.
      {"PER_VERTEX_INDEXED", "", {{0, r}, {1, g}, {2, b}, {3, r}, {4, r}},
       "2 vertices have no material among the 3 given"},
  };
  for (const Case& c : cases) {
    ConvertedScene scene = convert(start + c.binding + " } IndexedLineSet { coordIndex [0, 1, 2, -1, 3, 4] " +
                                   c.materialIndex + " } }");
    auto* lines = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted);
    ASSERT_NE(lines, nullptr) << c.binding;
    ASSERT_EQ(lines->vertexMaterials().size(), std::size_t(lines->vertexCount())) << c.binding;
    std::vector<Drawn> drawn;
    for (long k = 0; k < lines->indexCount(); ++k)
      if (int v = lines->indices()[k]; v >= 0)
        drawn.push_back({lines->vertices()[v].position.x, lines->vertexMaterials()[std::size_t(v)].diffuse});
    ASSERT_EQ(drawn.size(), c.expected.size()) << c.binding;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(drawn[i].x, c.expected[i].x) << c.binding << ", vertex " << i;
      EXPECT_TRUE(drawn[i].colour == c.expected[i].colour) << c.binding << ", vertex " << i;
    }
    if (c.warning) {
      EXPECT_NE(scene.output.find(c.warning), std::string::npos) << scene.output;
    }
  }

  // A point set takes material i for point i.
  ConvertedScene points = convert(start + "PER_VERTEX } PointSet { startIndex 1 } }");
  auto* cloud = childAs<DvIndexedLineSet>(*points.root, kFirstConverted);
  ASSERT_NE(cloud, nullptr);
  ASSERT_EQ(cloud->vertexMaterials().size(), 5u);
  EXPECT_TRUE(cloud->vertexMaterials()[1].diffuse == g);
  EXPECT_TRUE(cloud->vertexMaterials()[2].diffuse == b);
  EXPECT_TRUE(cloud->vertexMaterials()[4].diffuse == r);
  EXPECT_NE(points.output.find("PointSet: 2 points have no material among the 3 given"), std::string::npos);
}

TEST(PointSet, DrawsTheChosenRunOfPointsAndNeverPastTheList) {
  const std::string points = "Coordinate3 { point [0 0 0, 1 0 0, 2 0 0, 3 0 0] } ";
  ConvertedScene scene = convert("Separator { " + points + "PointSet { startIndex 1 numPoints 2 } " +
                                 "PointSet { startIndex 2 } PointSet { startIndex 9 numPoints 5 } }");
  ASSERT_TRUE(scene.result.ok);
  EXPECT_EQ(scene.result.summary.pointSets, 3);
  auto* two = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted);
  auto* rest = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted + 1);
  auto* none = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted + 2);
  ASSERT_TRUE(two && rest && none);
  EXPECT_TRUE(two->drawsPoints());
  ASSERT_EQ(two->indexCount(), 2);
  EXPECT_EQ(two->indices()[0], 1);
  EXPECT_EQ(two->indices()[1], 2);
  ASSERT_EQ(rest->indexCount(), 2); // numPoints −1: all from the start on
  EXPECT_EQ(rest->indices()[1], 3);
  EXPECT_EQ(none->indexCount(), 0); // a start past the list makes none
}

TEST(IndexedFaceSet, DopplerFactorComesFromTheFrameTheVertexRestsIn) {
  // A face straight ahead, at rest in the world or in a frame approaching at 0.9c.
  const std::string face = pointsAndNormals("0 0 10, 1 0 10, 0 1 10", 3) +
                           "IndexedFaceSet { coordIndex [0, 1, 2] } ";
  ConvertedScene scene = convert("Separator { " + face + "RELframe { velocity 0 0 -0.9 } " + face + "}");
  ASSERT_TRUE(scene.result.ok);
  DvRenderState state;
  state.softwareShading = 1;
  state.colourShift = ColourShift::Doppler;

  // Observer at rest: the resting face is unshifted, the approaching one shows D = √((1 + β)/(1 − β)) = √19.
  transformFor(scene, observerAlongZ(0.0f), state);
  const DvIndexedFaceSet &resting = faceSetAt(scene), &moving = faceSetAt(scene, kFirstConverted + 2);
  EXPECT_NEAR(resting.dopplerFactor(0), 1.0f, kTight);
  EXPECT_NEAR(moving.dopplerFactor(0), std::sqrt(19.0f), 1e-4f);

  // The observer flying at 0.6 towards the resting face: γ(1 + β) = 2.
  transformFor(scene, observerAlongZ(0.6f), state);
  EXPECT_NEAR(resting.dopplerFactor(0), 2.0f, 1e-5f);

  // Without the spectral path no factor is computed.
  state.softwareShading = 0;
  transformFor(scene, observerAlongZ(0.0f), state);
  EXPECT_NEAR(resting.dopplerFactor(0), 2.0f, 1e-5f);
}

TEST(IndexedFaceSet, AreaRatiosStayFiniteForDegenerateTriangles) {
  // A triangle seen edge-on has no apparent area: its vertices keep the ratio 1, not infinity.
  ConvertedScene scene = convert("Separator { " + pointsAndNormals("0 0 1, 0 0 2, 0 0 3", 3) +
                                 "IndexedFaceSet { coordIndex [0, 1, 2] } }");
  DvRenderState state;
  state.colourShift = ColourShift::Searchlight;
  transformFor(scene, observerAlongZ(0.5f), state);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(faceSetAt(scene).areaRatio(i), 1.0f);

  // A face-on triangle at rest, observer at rest: apparent and source areas agree.
  ConvertedScene flat = convert("Separator { " + pointsAndNormals("0 0 5, 1 0 5, 0 1 5", 3) +
                                "IndexedFaceSet { coordIndex [0, 1, 2] } }");
  transformFor(flat, observerAlongZ(0.0f), state);
  EXPECT_NEAR(faceSetAt(flat).areaRatio(0), 1.0f, 1e-5f);
}

TEST(DvLOD, ChoosesTheLevelFromTheApparentDistance) {
  DvLOD lod(Vector3(0, 0, 2), {3, 5});
  // Ranges [10, 20] semantics on this node's [3, 5]: at or below a range picks it.
  EXPECT_EQ(lod.chooseLevel(1), 0);
  EXPECT_EQ(lod.chooseLevel(3), 0);
  EXPECT_EQ(lod.chooseLevel(4), 1);
  EXPECT_EQ(lod.chooseLevel(50), 1);

  // Flying at 0.6 along +z, the centre 2 ahead is seen at γ(1 + β)·2 = 4.
  DvRenderState state;
  state.lodScale = 1.0f;
  FrameHolder holder;
  RelFrame rest{Vector3(), Vector3()};
  RelObserver observer = observerAlongZ(0.6f);
  rest.relativisticTransform(observer, state, DrawPass(state), holder);
  lod.relativisticTransform(observer, state, DrawPass(state), holder);
  EXPECT_EQ(lod.currentLevel(), 1);
  // lodScale 0 makes every distance 0: the finest level.
  state.lodScale = 0.0f;
  lod.relativisticTransform(observer, state, DrawPass(state), holder);
  EXPECT_EQ(lod.currentLevel(), 0);
}

} // namespace
} // namespace quillmere::test
