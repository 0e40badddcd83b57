// Helpers for the tests that convert scenes (scene, mesh, display): a scene
// text converted into a display scene, and typed access to the nodes built.
#pragma once

#include "../vrml/vrml_test_support.h"
#include "display/group.h"
#include "display/indexed_face_set.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"
#include "relativity/observer.h"
#include "scene/scene_conversion.h"

#include <memory>

namespace quillmere::test {

struct ConvertedScene {
  std::unique_ptr<DvGroup> root = std::make_unique<DvGroup>();
  ConversionResult result;
  std::string output; // what the conversion wrote to standard output (warnings)
};

// Reads and converts `body` (the header is added); the read must succeed.
inline ConvertedScene convert(const std::string& body, const ConversionOptions& options) {
  SceneRead read = readScene(std::string(kHeader) + body);
  EXPECT_TRUE(read.ok) << read.errors;
  ConvertedScene scene;
  if (!read.root) return scene;
  testing::internal::CaptureStderr();
  scene.result = convertScene(*read.root, *scene.root, options);
  scene.output = testing::internal::GetCapturedStderr();
  return scene;
}

inline ConvertedScene convert(const std::string& body, long maxDisplayVertices = kMaxDisplayVertices) {
  ConversionOptions options;
  options.maxDisplayVertices = maxDisplayVertices;
  return convert(body, options);
}

// An observer at the origin looking along +z, at speed β.
inline RelObserver observerAlongZ(float beta) { return RelObserver(0, 0, 0, 0, beta, 0, 0, 1); }

// Transforms the converted scene for `observer` as one frame does.
inline void transformFor(const ConvertedScene& scene, const RelObserver& observer, const DvRenderState& state) {
  FrameHolder holder;
  scene.root->relativisticTransform(observer, state, DrawPass(state), holder);
}

// The root's children after the default material and the rest frame.
constexpr int kFirstConverted = 2;

template <typename Node>
Node* childAs(const DvGroup& group, int index) {
  return index < group.getNumChildren() ? dynamic_cast<Node*>(group.getChild(index)) : nullptr;
}

// The face set at child `index` of a converted scene; a failure and an empty set when there is none.
inline const DvIndexedFaceSet& faceSetAt(const ConvertedScene& scene, int index = kFirstConverted) {
  EXPECT_TRUE(scene.result.ok) << scene.result.error;
  auto* faces = childAs<DvIndexedFaceSet>(*scene.root, index);
  EXPECT_NE(faces, nullptr) << "no face set at child " << index;
  static const DvIndexedFaceSet none{FaceSetMesh()};
  return faces ? *faces : none;
}

// "Coordinate3 { point [...] } Normal { vector [...] }" for the points, each with normal (0, 0, 1).
inline std::string pointsAndNormals(const std::string& points, int count) {
  std::string normals;
  for (int i = 0; i < count; ++i) normals += "0 0 1,";
  return "Coordinate3 { point [" + points + "] } Normal { vector [" + normals + "] } ";
}

} // namespace quillmere::test
