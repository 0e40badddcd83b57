// Our model files in each main format (tests/data/scene), imported with counts worked out by hand.
#include "colour/planck_spectrum.h"
#include "scene/display_budget.h"
#include "display/group.h"
#include "display/indexed_face_set.h"
#include "display/indexed_line_set.h"
#include "display/rel_frame.h"
#include "display/texture_2.h"
#include "scene/assimp_probe.h"
#include "scene/model_import.h"

#include "../relativity/expect_vector.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cmath>
#include <memory>
#include <string>
#include <unistd.h>

namespace quillmere {
namespace {

const std::string kData = std::string(QUILLMERE_TEST_DATA) + "/scene/";

struct Imported {
  std::unique_ptr<DvGroup> root = std::make_unique<DvGroup>();
  ConversionResult result;
  std::string output; // warnings
};

Imported import(const std::string& name, ConversionOptions options = ConversionOptions()) {
  Imported imported;
  options.sceneFolder = kData;
  testing::internal::CaptureStderr();
  imported.result = importModel(kData + name, *imported.root, options);
  imported.output = testing::internal::GetCapturedStderr();
  return imported;
}

template <typename Node>
Node* child(const Imported& imported, int index) {
  return index < imported.root->getNumChildren() ? dynamic_cast<Node*>(imported.root->getChild(index)) : nullptr;
}

void expectBox(const DvNode* node, const Vector3& min, const Vector3& max, const char* what) {
  ASSERT_NE(node, nullptr) << what;
  Vector3 lo, hi;
  node->getBoundingBox(lo, hi);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(lo[i], min[i], 1e-5f) << what << " axis " << i;
    EXPECT_NEAR(hi[i], max[i], 1e-5f) << what << " axis " << i;
  }
}

TEST(ModelImport, GltfCubesComeAcrossWithTransformsTextureFrameMaterialsAndCamera) {
  for (const char* name : {"cube.gltf", "cube.glb"}) {
    SCOPED_TRACE(name);
    Imported cube = import(name);
    ASSERT_TRUE(cube.result.ok) << cube.result.error;
    // Three cubes of 6 faces, 2 triangles and 4 vertices each (one normal
    // and one texture coordinate per vertex: no vertex is split).
    const ConversionSummary& s = cube.result.summary;
    EXPECT_EQ(s.faceSets, 3);
    EXPECT_EQ(s.triangles, 36);
    EXPECT_EQ(s.displayVertices, 72);
    EXPECT_EQ(s.frames, 1);
    EXPECT_EQ(s.textures, 1);
    EXPECT_EQ(s.materials, 3);

    // Default material, rest frame, then in file order: the crate's texture
    // and cube; the runner's frame, the runner, its rider; the frame it stood in.
    ASSERT_EQ(cube.root->getNumChildren(), 8);
    auto* texture = child<DvTexture2>(cube, 2);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(texture->hasImage());
    EXPECT_EQ(texture->getSourceWidth(), 8);
    auto* crate = child<DvIndexedFaceSet>(cube, 3);
    ASSERT_NE(crate, nullptr);
    EXPECT_TRUE(crate->hasTextureCoordinates());
    expectBox(crate, {-2, -0.5f, -0.5f}, {-1, 0.5f, 0.5f}, "crate");

    auto* moving = child<RelFrame>(cube, 4);
    ASSERT_NE(moving, nullptr);
    EXPECT_EQ(moving->velocity(), Vector3(0.5f, 0, 0));
    auto* runner = child<DvIndexedFaceSet>(cube, 5);
    ASSERT_NE(runner, nullptr);
    EXPECT_FALSE(runner->hasTextureCoordinates());
    expectBox(runner, {1, -0.5f, -0.5f}, {2, 0.5f, 0.5f}, "runner");
    // The rider: T(1.5, 0, 0) · T(0, 1, 0) · S(0.5) applied to a cube of half-side 0.5.
    expectBox(child<DvIndexedFaceSet>(cube, 6), {1.25f, 0.75f, -0.25f}, {1.75f, 1.25f, 0.25f}, "rider");
    auto* restored = child<RelFrame>(cube, 7);
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->velocity(), Vector3());

    // "ember": base (1, 0.5, 0.2), metallic 0, roughness 0.5 → diffuse the
    // base colour, specular 0.04 × (1 − 0.5), shininess (1 − 0.5)²; its
    // extras: a 3000 K black body of strength 1.
    ASSERT_NE(runner->material(), nullptr);
    EXPECT_EQ(runner->material()->diffuseColour(), Vector3(1, 0.5f, 0.2f));
    EXPECT_NEAR(runner->material()->specularColour().x, 0.02f, 1e-6f);
    EXPECT_NEAR(runner->material()->shininess(), 0.25f, 1e-6f);
    ASSERT_NE(runner->relMaterial(), nullptr);
    EXPECT_FLOAT_EQ(runner->relMaterial()->diffuseFactor, 1.0f);
    auto* planck = dynamic_cast<const PlanckSpectrum*>(runner->relMaterial()->diffuseSpectrum);
    ASSERT_NE(planck, nullptr);
    EXPECT_FLOAT_EQ(planck->temperature(), 3000.0f);
    EXPECT_EQ(crate->relMaterial(), nullptr);

    // The camera "eye" at (0, 0, 8) looking along −z, yfov 0.8 rad.
    ASSERT_TRUE(cube.result.camera.has_value());
    EXPECT_EQ(cube.result.camera->position, Vector3(0, 0, 8));
    EXPECT_NEAR(cube.result.camera->viewDirection.z, -1.0f, 1e-6f);
    EXPECT_NEAR(cube.result.camera->heightAngleRadians, 0.8f, 1e-4f);
  }
}

TEST(ModelImport, CameraAndFramesFollowTheHierarchyUnderASingleRoot) {
  // "eye" at (1, 2, 3), turned +90° about y, under "parent" at (10, 0, 0),
  // the file's only root: seen from (11, 2, 3) looking along −x.
  Imported turned = import("camera.gltf");
  ASSERT_TRUE(turned.result.ok) << turned.result.error;
  ASSERT_TRUE(turned.result.camera.has_value());
  const SceneCamera& camera = *turned.result.camera;
  expectVector(camera.position, {11, 2, 3});
  expectVector(camera.viewDirection, {-1, 0, 0});
  expectVector(camera.up, {0, 1, 0});
  // The root's extras reach its subtree: the triangle moves with it.
  EXPECT_EQ(turned.result.summary.frames, 1);
  auto* frame = child<RelFrame>(turned, 2);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->velocity(), Vector3(0, 0.25f, 0));
  expectBox(child<DvIndexedFaceSet>(turned, 3), {10, 0, 0}, {11, 1, 0}, "triangle");
}

TEST(ModelImport, ObjPlyAndStlComeAcrossWithTheirCounts) {
  // OBJ: the crate textured through cube.mtl, the runner's cube in Kd 1 0.5 0.2
  // with Ns 64 and no Ks; 6 quads of 4 corners each, split in two.
  Imported obj = import("cube.obj");
  ASSERT_TRUE(obj.result.ok) << obj.result.error;
  EXPECT_EQ(obj.result.summary.faceSets, 2);
  EXPECT_EQ(obj.result.summary.triangles, 24);
  EXPECT_EQ(obj.result.summary.displayVertices, 48);
  EXPECT_EQ(obj.result.summary.textures, 1);
  ASSERT_NE(child<DvTexture2>(obj, 2), nullptr);
  auto* objRunner = child<DvIndexedFaceSet>(obj, 4);
  ASSERT_NE(objRunner, nullptr);
  expectBox(objRunner, {1, -0.5f, -0.5f}, {2, 0.5f, 0.5f}, "OBJ runner");
  EXPECT_EQ(objRunner->material()->diffuseColour(), Vector3(1, 0.5f, 0.2f));
  EXPECT_EQ(objRunner->material()->specularColour(), Vector3());
  EXPECT_FLOAT_EQ(objRunner->material()->shininess(), 0.5f);

  // PLY: 8 coloured corners, no normals; kept sharp across the 90° edges, each corner is one
  // vertex per face it meets: 8 × 3 = 24, in its corner's colour, its normal outwards.
  Imported ply = import("colours.ply");
  ASSERT_TRUE(ply.result.ok) << ply.result.error;
  EXPECT_EQ(ply.result.summary.faceSets, 1);
  EXPECT_EQ(ply.result.summary.triangles, 12);
  EXPECT_EQ(ply.result.summary.displayVertices, 24);
  auto* colours = child<DvIndexedFaceSet>(ply, 2);
  ASSERT_NE(colours, nullptr);
  ASSERT_EQ(colours->vertexMaterials().size(), 24u);
  for (int i = 0; i < colours->vertexCount(); ++i) {
    const DvVertex& v = colours->vertices()[i];
    const Vector3& diffuse = colours->vertexMaterials()[std::size_t(i)].diffuse;
    EXPECT_EQ(diffuse, Vector3(v.position.x > 0, v.position.y > 0, v.position.z > 0)) << "vertex " << i;
    EXPECT_NEAR(v.position.x * v.normal.x + v.position.y * v.normal.y + v.position.z * v.normal.z, 0.5f, 1e-5f)
        << "vertex " << i;
  }

  // Binary STL: 12 triangles of 3 corners of their own, 36 in all; corners
  // with the same position and normal are joined: 6 faces × 4 corners = 24.
  Imported stl = import("cube.stl");
  ASSERT_TRUE(stl.result.ok) << stl.result.error;
  EXPECT_EQ(stl.result.summary.faceSets, 1);
  EXPECT_EQ(stl.result.summary.triangles, 12);
  EXPECT_EQ(stl.result.summary.displayVertices, 24);
  EXPECT_FALSE(stl.result.camera.has_value());
}

TEST(ModelImport, PointsAndLinesBecomePointAndLineSets) {
  Imported imported = import("points_and_lines.gltf");
  ASSERT_TRUE(imported.result.ok) << imported.result.error;
  const ConversionSummary& s = imported.result.summary;
  EXPECT_EQ(s.faceSets, 0);
  EXPECT_EQ(s.pointSets, 1);
  EXPECT_EQ(s.lineSets, 1);
  EXPECT_EQ(s.lineVertices, 4); // two segments of two ends
  EXPECT_EQ(s.displayVertices, 8);
  auto* points = child<DvIndexedLineSet>(imported, 2);
  ASSERT_NE(points, nullptr);
  EXPECT_TRUE(points->drawsPoints());
  auto* lines = child<DvIndexedLineSet>(imported, 3);
  ASSERT_NE(lines, nullptr);
  EXPECT_FALSE(lines->drawsPoints());
  expectBox(lines, {0, 0, 1}, {1, 1, 1}, "lines");
}

TEST(ModelImport, BudgetAndSubdivisionApply) {
  ConversionOptions tight;
  tight.maxDisplayVertices = 23; // one short of the STL cube's 24
  Imported refused = import("cube.stl", tight);
  EXPECT_TRUE(refused.result.ok);
  EXPECT_EQ(refused.result.summary.faceSets, 0);
  EXPECT_NE(refused.output.find("more than 23 display vertices"), std::string::npos) << refused.output;

  ConversionOptions split;
  split.maxEdgeLength = 0.3f;
  Imported fine = import("cube.stl", split);
  auto* faceSet = child<DvIndexedFaceSet>(fine, 2);
  ASSERT_NE(faceSet, nullptr);
  EXPECT_GT(faceSet->triangleCount(), 12);

  // --subdivide auto: the unit cube's bounding sphere has radius √3 / 2.
  Imported whole = import("cube.stl");
  EXPECT_NEAR(automaticEdgeLength(*whole.root), std::sqrt(3.0f) / 2.0f / 64.0f, 1e-6f);
}

TEST(ModelImport, BadExtrasAndBrokenFilesFailWithTheFileAndTheName) {
  struct Case {
    const char* file;
    const char* message;
  } cases[] = {
      {"bad_speed.gltf", "glTF node \"runner\": quillmere velocity (0.6, 0.8, 0) has speed 1.000"},
      {"bad_temperature.gltf", "glTF material \"ember\": quillmere planck temperature 0 K is not above absolute zero"},
      {"broken.gltf", "broken.gltf: the glTF JSON does not parse"},
      {"broken.glb", "broken.glb: the glTF JSON does not parse"},
      {"broken.obj", "broken.obj: OBJ: vertex index out of range"},
      {"unended_header.ply", "unended_header.ply: the PLY header has no end_header line"}, // Assimp would hang
      {"missing.stl", "missing.stl"},
  };
  for (const Case& c : cases) {
    Imported bad = import(c.file);
    EXPECT_FALSE(bad.result.ok) << c.file;
    EXPECT_NE(bad.result.error.find(c.message), std::string::npos) << c.file << ": " << bad.result.error;
    EXPECT_NE(bad.result.error.find(c.file), std::string::npos) << bad.result.error;
  }
}

// A reader that crashes or never returns ends only the child that ran it.
TEST(AssimpProbe, ReportsACrashAndAHangInTheChild) {
  int signal = -1;
  EXPECT_EQ(runInChild([] {}, signal, 10), ProbeVerdict::Finished);
  EXPECT_EQ(signal, 0);
  EXPECT_EQ(runInChild([] { std::abort(); }, signal, 10), ProbeVerdict::Crashed);
  EXPECT_EQ(signal, SIGABRT);
  EXPECT_EQ(runInChild([] { for (;;) pause(); }, signal, 1), ProbeVerdict::TimedOut);
  // The model files of the tests above read in the child as they do here.
  EXPECT_EQ(probeModelFile(kData + "cube.gltf", 0, signal), ProbeVerdict::Finished);
}

} // namespace
} // namespace quillmere
