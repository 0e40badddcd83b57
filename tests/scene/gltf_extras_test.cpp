// The quillmere extras of glTF JSON, inline: every relativistic material
// kind, and extras that cannot be, named by node or material.
#include "scene/gltf_extras.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

GltfExtras parsed(const std::string& json, std::string* error = nullptr) {
  GltfExtras extras;
  std::string message;
  const bool ok = parseGltfExtras(json, extras, message);
  if (error) *error = ok ? std::string() : message;
  else EXPECT_TRUE(ok) << message;
  return extras;
}

std::string material(const std::string& quillmere) {
  return R"({"materials": [{"name": "m", "extras": {"quillmere": )" + quillmere + "}}]}";
}

TEST(GltfExtras, ReadsFramesHierarchyAndEveryMaterialKind) {
  GltfExtras tree = parsed(R"({"scene": 1, "scenes": [{"nodes": [0]}, {"nodes": [1]}],
      "nodes": [{"name": "a"}, {"name": "b", "children": [0, 7],
                 "extras": {"quillmere": {"translation": [1, 2, 3]}}}]})");
  ASSERT_EQ(tree.nodes.size(), 2u);
  EXPECT_EQ(tree.sceneRoots, std::vector<int>{1}); // the scene "scene" names
  EXPECT_EQ(tree.nodes[1].children, std::vector<int>{0}); // 7 is no node
  EXPECT_TRUE(tree.nodes[1].frame.given);
  EXPECT_EQ(tree.nodes[1].frame.translation, Vector3(1, 2, 3));
  EXPECT_EQ(tree.nodes[1].frame.velocity, Vector3()); // absent: at rest
  EXPECT_FALSE(tree.nodes[0].frame.given);

  GltfMaterialExtras constant = parsed(material(R"({"constant": {"ambient": 0.1, "specular": 2}})")).materials[0];
  EXPECT_EQ(constant.kind, GltfRelMaterialKind::Constant);
  EXPECT_FLOAT_EQ(constant.ambient, 0.1f);
  EXPECT_FLOAT_EQ(constant.specular, 2.0f);
  GltfMaterialExtras sampled = parsed(material(R"({"sampled": {"diffuse": [0.1, -0.2, 0.3]}})")).materials[0];
  EXPECT_EQ(sampled.kind, GltfRelMaterialKind::Sampled);
  EXPECT_EQ(sampled.diffuseSamples, (std::vector<float>{0.1f, -0.2f, 0.3f})); // negative samples are allowed
  GltfMaterialExtras rgb = parsed(material(R"({"rgb": {"diffuseColor": [0, 0.5, 1]}})")).materials[0];
  EXPECT_EQ(rgb.kind, GltfRelMaterialKind::Rgb);
  EXPECT_EQ(rgb.diffuseColor, Vector3(0, 0.5f, 1));
  GltfMaterialExtras planck = parsed(material(R"({"planck": {"strength": 2}})")).materials[0];
  EXPECT_EQ(planck.kind, GltfRelMaterialKind::Planck);
  EXPECT_FLOAT_EQ(planck.strength, 2.0f);
}

TEST(GltfExtras, RefusesExtrasThatCannotBe) {
  struct Case {
    std::string json;
    const char* message;
  } cases[] = {
      {R"({"nodes": [{"name": "ship", "extras": {"quillmere": {"velocity": [0, 0, -1]}}}]})",
       "glTF node \"ship\": quillmere velocity (0, 0, -1) has speed 1.000"},
      {R"({"nodes": [{}, {"extras": {"quillmere": {"velocity": [0.5, 0]}}}]})",
       "glTF node 1: quillmere velocity must be three finite numbers"},
      {R"({"nodes": [{"name": "n", "extras": {"quillmere": [1]}}]})", "glTF node \"n\": quillmere extras must be an object"},
      {material(R"({"planck": {"temperature": -5, "strength": 1}})"), "glTF material \"m\": quillmere planck temperature -5 K"},
      {material(R"({"planck": {"temperature": 3000, "strength": -1}})"), "planck strength -1.000000 is negative"},
      {material(R"({"constant": {}, "rgb": {}})"), "more than one relativistic material"},
  };
  for (const Case& c : cases) {
    std::string error;
    parsed(c.json, &error);
    EXPECT_NE(error.find(c.message), std::string::npos) << c.json << "\n" << error;
  }
}

} // namespace
} // namespace quillmere
