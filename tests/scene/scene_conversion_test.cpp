#include "../support/converted_scene.h"

#include "../relativity/expect_vector.h"
#include "display/indexed_face_set.h"
#include "display/indexed_line_set.h"
#include "display/lod.h"
#include "display/material.h"
#include "display/rel_frame.h"
#include "scene/start_view.h"

#include <cmath>
#include <utility>

namespace quillmere::test {
namespace {

const std::string kTriangle = pointsAndNormals("0 0 0, 1 0 0, 0 1 0", 3);
const std::string kFaces = "IndexedFaceSet { coordIndex [0, 1, 2, -1] } ";

TEST(SceneConversion, ComposesTransformsInnermostFirst) {
  // Translation (1, 0, 0), then a 90° rotation about z: (1, 0, 0) → (0, 1, 0) → (1, 1, 0).
  ConvertedScene scene = convert("Separator { Translation { translation 1 0 0 } "
                                 "Rotation { rotation 0 0 1 1.5707963 } " +
                                 pointsAndNormals("1 0 0, 0 0 0, 0 0 1", 3) + kFaces + "}");
  const DvIndexedFaceSet& faces = faceSetAt(scene);
  expectVector(faces.vertices()[0].position, {1, 1, 0});
  // The normal (0, 0, 1) is unchanged by a rotation about z and a translation.
  expectVector(faces.vertices()[0].normal, {0, 0, 1});

  // A Transform is T·C·R·S·C⁻¹: scale 2 about the centre (1, 0, 0), then translate by (0, 5, 0).
  ConvertedScene scaled = convert("Separator { Transform { translation 0 5 0 scaleFactor 2 2 2 center 1 0 0 } " +
                                  pointsAndNormals("3 0 0, 0 0 0, 0 0 1", 3) + kFaces + "}");
  expectVector(faceSetAt(scaled).vertices()[0].position, {5, 5, 0});

  // A non-uniform scale keeps normals perpendicular: the plane x + y = 1 scaled by (2, 1, 1).
  ConvertedScene sheared = convert("Separator { Scale { scaleFactor 2 1 1 } "
                                   "Coordinate3 { point [1 0 0, 0 1 0, 0 1 1] } "
                                   "Normal { vector [0.7071 0.7071 0, 0.7071 0.7071 0, 0.7071 0.7071 0] } " +
                                   kFaces + "}");
  // x/2 + y = 1 has the normal (1, 2, 0)/√5.
  expectVector(faceSetAt(sheared).vertices()[0].normal, {1 / std::sqrt(5.0f), 2 / std::sqrt(5.0f), 0}, 1e-4f);
}

TEST(SceneConversion, ScopesPropertiesAsTheFileNests) {
  // TransformSeparator undoes its translation; a Separator's Material stays
  // inside (after it: the default 0.8 grey), its RELframe acts on what follows.
  ConvertedScene scene = convert("Separator { " + kTriangle +
                                 "Separator { Material { diffuseColor 1 0 0 } RELframe { velocity 0.5 0 0 } " +
                                 kFaces + "} TransformSeparator { Translation { translation 1 0 0 } } " + kFaces + "}");
  ASSERT_TRUE(scene.result.ok);
  ASSERT_EQ(scene.root->getNumChildren(), kFirstConverted + 3);
  EXPECT_NE(childAs<RelFrame>(*scene.root, kFirstConverted), nullptr);
  const DvIndexedFaceSet &inside = faceSetAt(scene, kFirstConverted + 1), &after = faceSetAt(scene, kFirstConverted + 2);
  ASSERT_TRUE(inside.material() && after.material());
  expectVector(inside.material()->diffuseColour(), {1, 0, 0});
  expectVector(after.material()->diffuseColour(), {0.8f, 0.8f, 0.8f});
  expectVector(after.vertices()[1].position, {1, 0, 0});
  EXPECT_EQ(scene.result.summary.frames, 1);
  EXPECT_EQ(scene.result.summary.materials, 1);
}

TEST(SceneConversion, SwitchAnchorsAndGroupsChooseAndScopeChildren) {
  // whichChild −3 is every child, −1 (the default), −2 and one past the
  // children none; LevelOfDetail its first; an anchor all, an unknown node none.
  const std::string three = kFaces + kFaces + kFaces + "} ";
  const std::pair<const char*, int> choices[] = {
      {"Switch { whichChild -3 ", 3}, {"Switch { whichChild 5 ", 0}, {"Switch { ", 0},
      {"Switch { whichChild -2 ", 0}, {"Switch { whichChild 1 ", 1}, {"LevelOfDetail { screenArea [ 1, 2 ] ", 1},
      {"WWWAnchor { ", 3}, {"Thing { fields [ SFLong n ] ", 0}};
  for (const auto& [group, faceSets] : choices)
    EXPECT_EQ(convert("Separator { " + kTriangle + group + three + "}").result.summary.faceSets, faceSets) << group;

  // A Group opens no scope, an anchor does, as a Separator.
  const std::string red = "Material { diffuseColor 1 0 0 } ";
  for (const auto& [group, colour] : {std::pair<std::string, Vector3>{"Group { " + red + "} ", {1, 0, 0}},
                                      {"WWWAnchor { " + red + "} ", {0.8f, 0.8f, 0.8f}}}) {
    ConvertedScene scene = convert("Separator { " + kTriangle + group + kFaces + "}");
    auto* faces = childAs<DvIndexedFaceSet>(*scene.root, kFirstConverted);
    ASSERT_TRUE(faces && faces->material()) << group;
    expectVector(faces->material()->diffuseColour(), colour);
  }

  // A DEF'd shape used again is built again, with a material of its own.
  ConvertedScene all = convert("Separator { Material { diffuseColor 0 1 0 } DEF Tri Separator { " + kTriangle +
                               kFaces + "} USE Tri }");
  EXPECT_EQ(all.result.summary.faceSets, 2);
  const DvIndexedFaceSet &first = faceSetAt(all), &second = faceSetAt(all, kFirstConverted + 1);
  EXPECT_NE(&first, &second);
  ASSERT_NE(first.material(), nullptr);
  EXPECT_NE(first.material(), second.material());
}

TEST(SceneConversion, LODBuildsOneLevelGroupPerChild) {
  ConvertedScene scene = convert("Separator { Translation { translation 0 0 4 } "
                                 "LOD { range [10] center 1 0 0 Info {} Separator { " +
                                 kTriangle + kFaces + "} } }");
  ASSERT_TRUE(scene.result.ok);
  auto* lod = childAs<DvLOD>(*scene.root, kFirstConverted);
  ASSERT_NE(lod, nullptr);
  ASSERT_EQ(lod->getNumChildren(), 2);
  EXPECT_EQ(static_cast<DvGroup*>(lod->getChild(0))->getNumChildren(), 0);
  EXPECT_NE(childAs<DvIndexedFaceSet>(*static_cast<DvGroup*>(lod->getChild(1)), 0), nullptr);
  expectVector(lod->centre(), {1, 0, 4}); // carried by the same modelling matrix as its shapes
  EXPECT_EQ(scene.result.summary.lods, 1);
  // What one level sets stays inside it.
  ConvertedScene scoped = convert("Separator { " + kTriangle + "LOD { range [1] Group { Material { diffuseColor 1 0 0 } " +
                                  kFaces + "} " + kFaces + "} }");
  auto* levels = childAs<DvLOD>(*scoped.root, kFirstConverted);
  ASSERT_TRUE(levels && levels->getNumChildren() == 2);
  auto* coarse = childAs<DvIndexedFaceSet>(*static_cast<DvGroup*>(levels->getChild(1)), 0);
  ASSERT_TRUE(coarse && coarse->material());
  expectVector(coarse->material()->diffuseColour(), {0.8f, 0.8f, 0.8f});

  // Without range the first child is always shown, with one warning.
  ConvertedScene noRange = convert("Separator { LOD { Info {} Info {} } LOD { Info {} } }");
  auto* plain = childAs<DvLOD>(*noRange.root, kFirstConverted);
  ASSERT_NE(plain, nullptr);
  EXPECT_TRUE(plain->ranges().empty());
  EXPECT_EQ(plain->chooseLevel(1e9f), 0);
  EXPECT_EQ(noRange.output, "LOD without range: its first child is always shown\n");
}

TEST(SceneConversion, StopsAtTheVertexBudget) {
  std::string shape = "DEF Tri Separator { " + kTriangle + kFaces + "} ";
  ConvertedScene scene = convert("Separator { " + shape + "USE Tri USE Tri USE Tri }", 7);
  EXPECT_TRUE(scene.result.ok);
  EXPECT_EQ(scene.result.summary.faceSets, 2); // 3 + 3 vertices fit in 7, a third set would not
  EXPECT_EQ(scene.output, "The scene converts to more than 7 display vertices; the rest is left out\n");
}

TEST(SceneConversion, FirstCameraGivesTheStartViewInWorldCoordinates) {
  // A quarter turn about +y takes −z to −x, keeping +y up; the Translation
  // moves it to (2, 0, 5) + (0, 0, 10); the second camera is not taken.
  ConvertedScene scene = convert("Separator { Translation { translation 2 0 5 } "
                                 "PerspectiveCamera { position 0 0 10 orientation 0 1 0 1.5707963 heightAngle 0.5 } "
                                 "OrthographicCamera { position 9 9 9 } }");
  ASSERT_TRUE(scene.result.camera.has_value());
  const SceneCamera& camera = *scene.result.camera;
  expectVector(camera.position, {2, 0, 15}, 1e-5f);
  expectVector(camera.viewDirection, {-1, 0, 0}, 1e-5f);
  expectVector(camera.up, {0, 1, 0}, 1e-5f);
  EXPECT_FLOAT_EQ(camera.heightAngleRadians, 0.5f);
  EXPECT_STREQ(camera.kind, "PerspectiveCamera");
  EXPECT_EQ(startView(sceneSphere(*scene.root), scene.result.camera, 1.0f, 1.0f).position.z, 15.0f);

  // Without a camera: along −z, far enough back that the bounding sphere
  // (centre (3, 4, 0), radius 5 for the box 6 × 8) fits a 60° view: 5 / sin 30° = 10.
  ConvertedScene plain = convert("Separator { " + pointsAndNormals("0 0 0, 6 0 0, 6 8 0", 3) + kFaces + "}");
  EXPECT_FALSE(plain.result.camera.has_value());
  const SceneSphere sphere = sceneSphere(*plain.root);
  EXPECT_NEAR(sphere.radius, 5.0f, 1e-5f);
  SceneCamera view = startView(sphere, plain.result.camera, 60.0f * 3.14159265f / 180.0f, 1.6f);
  expectVector(view.position, {3, 4, 10}, 1e-4f);
  expectVector(view.viewDirection, {0, 0, -1});
  // A view narrower than high is held by its width: tan α = tan 30° · 0.5.
  view = startView(sphere, std::nullopt, 60.0f * 3.14159265f / 180.0f, 0.5f);
  EXPECT_NEAR(view.position.z, 5.0f / std::sin(std::atan(0.5f * std::tan(0.5235988f))), 1e-3f);
}

} // namespace
} // namespace quillmere::test
