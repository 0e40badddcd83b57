#include "vrml_test_support.h"

#include "vrml/group_nodes.h"
#include "vrml/light_camera_nodes.h"
#include "vrml/node_factory.h"
#include "vrml/property_nodes.h"
#include "vrml/relativistic_nodes.h"
#include "vrml/shape_nodes.h"
#include "vrml/transform_nodes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>

using namespace quillmere;
using namespace quillmere::test;

namespace {

std::string scene(const std::string& body) { return std::string(kHeader) + body; }

void expectColour(const float* colour, float r, float g, float b) {
  EXPECT_FLOAT_EQ(colour[0], r);
  EXPECT_FLOAT_EQ(colour[1], g);
  EXPECT_FLOAT_EQ(colour[2], b);
}

} // namespace

TEST(Catalogue, FactoryMakesFortyClassesByExactKeyword) {
  int count = 0;
  const char* const* keywords = qvNodeKeywords(count);
  ASSERT_EQ(count, 40);
  std::set<std::string> distinct;
  for (int i = 0; i < count; ++i) {
    QvNodeHandle node(createNodeFromClassName(keywords[i]));
    ASSERT_NE(node, nullptr) << keywords[i];
    node->ref(); // the handle releases this reference
    EXPECT_STREQ(node->getKeyword(), keywords[i]);
    EXPECT_TRUE(node->isBuiltIn);
    distinct.insert(keywords[i]);
  }
  EXPECT_EQ(distinct.size(), 40u);
  EXPECT_EQ(createNodeFromClassName("cube"), nullptr);
  EXPECT_EQ(createNodeFromClassName("Node"), nullptr);
}

TEST(Catalogue, DefaultsOfNodesWithoutFields) {
  ownMaterial material;
  ASSERT_EQ(material.ambientColor.num, 1);
  expectColour(material.ambientColor.values[0], 0.2f, 0.2f, 0.2f);
  expectColour(material.diffuseColor.values[0], 0.2f, 0.2f, 0.2f);
  expectColour(material.specularColor.values[0], 0, 0, 0);
  expectColour(material.emissiveColor.values[0], 0, 0, 0);
  EXPECT_FLOAT_EQ(material.shininess.values[0], 0.2f);
  EXPECT_EQ(material.transparency.values[0], 0.0f);
  EXPECT_TRUE(material.diffuseColor.isDefault());

  QvLOD lod;
  ASSERT_EQ(lod.range.num, 1);
  EXPECT_EQ(lod.range.values[0], 0.0f);

  QvRELmaterialPlanck planck;
  EXPECT_EQ(planck.temperature.value, 5760.0f);
  EXPECT_EQ(planck.strength.value, 1.0f);

  QvWWWInline inlined;
  expectColour(inlined.bboxSize.value, 0, 0, 0);
  expectColour(inlined.bboxCenter.value, 0, 0, 0);

  QvSpotLight spot;
  EXPECT_FLOAT_EQ(spot.cutOffAngle.value, 3.14159265f / 4);
  expectColour(spot.direction.value, 0, 0, -1);
  EXPECT_EQ(spot.on.value, 1);

  QvMatrixTransform matrix;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) EXPECT_EQ(matrix.matrix.value[row][column], row == column ? 1 : 0);

  QvShapeHints hints;
  EXPECT_EQ(hints.faceType.value, QvShapeHints::CONVEX);
  EXPECT_FLOAT_EQ(hints.creaseAngle.value, 0.5f);

  QvInfo info;
  EXPECT_STREQ(info.string.value.getString(), "<Undefined info>");

  QvSwitch choice;
  EXPECT_EQ(choice.whichChild.value, -1);
}

TEST(Catalogue, FaceSetSettingOnlyCoordIndexKeepsTheOtherDefaults) {
  SceneRead read = readScene(scene("IndexedFaceSet { coordIndex [ 0, 1, 2, -1 ] }"));
  ASSERT_TRUE(read.ok) << read.errors;
  auto* faces = rootAs<OwnIndexedFaceSet>(read);
  EXPECT_EQ(faces->coordIndex.num, 4);
  EXPECT_FALSE(faces->coordIndex.isDefault());
  for (const QvMFLong* list : {&faces->materialIndex, &faces->normalIndex, &faces->textureCoordIndex}) {
    ASSERT_EQ(list->num, 1);
    EXPECT_EQ(list->values[0], -1);
    EXPECT_TRUE(list->isDefault());
  }
}

TEST(Catalogue, FieldTablesListFieldsInDeclarationOrder) {
  QvSpotLight spot;
  const char* expected[] = {"on", "intensity", "color", "location", "direction", "dropOffRate", "cutOffAngle"};
  QvFieldTable* table = spot.getFieldTable();
  ASSERT_EQ(table->getNumFields(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(table->getFieldName(i).getString(), expected[i]);
  // Entries find the field of whichever instance they are asked about.
  QvSpotLight other;
  EXPECT_EQ(table->getField(&other, 6), &other.cutOffAngle);
  EXPECT_EQ(table->getField(&spot, 3), &spot.location);
}

TEST(Catalogue, TextureFileNameMakesTheInlineImageCountAsNotGiven) {
  SceneRead both = readScene(scene("Texture2 { filename \"brick.png\" image 1 1 1 0xFF wrapS CLAMP }"));
  ASSERT_TRUE(both.ok) << both.errors;
  auto* texture = rootAs<ownTexture2>(both);
  EXPECT_STREQ(texture->filename.value.getString(), "brick.png");
  EXPECT_TRUE(texture->image.isDefault());
  EXPECT_EQ(texture->image.size[0], 1); // the value itself stays
  EXPECT_EQ(texture->wrapS.value, ownTexture2::CLAMP);
  EXPECT_EQ(texture->wrapT.value, ownTexture2::REPEAT);

  SceneRead imageOnly = readScene(scene("Texture2 { image 1 1 1 0xFF }"));
  ASSERT_TRUE(imageOnly.ok) << imageOnly.errors;
  EXPECT_FALSE(rootAs<ownTexture2>(imageOnly)->image.isDefault());
}

TEST(Catalogue, EveryNodeOfTheSampleSceneReads) {
  std::FILE* file = std::fopen(QUILLMERE_TEST_DATA "/vrml/every_node.wrl", "r");
  ASSERT_NE(file, nullptr);
  QvScene::init();
  QvInputFile in;
  in.setFilePointer(file);
  testing::internal::CaptureStderr();
  QvNode* root = nullptr;
  bool ok = QvScene::read(in, root);
  std::string errors = testing::internal::GetCapturedStderr();
  std::fclose(file);
  QvNodeHandle handle(root);
  ASSERT_TRUE(ok) << errors;
  EXPECT_EQ(errors, "");
  auto* top = dynamic_cast<QvSeparator*>(root);
  ASSERT_NE(top, nullptr);
  // Every keyword appears once somewhere in the file.
  std::set<std::string> seen;
  std::function<void(QvNode*)> collect = [&](QvNode* node) {
    seen.insert(node->getKeyword());
    if (auto* group = dynamic_cast<QvGroup*>(node))
      for (int i = 0; i < group->getNumChildren(); ++i) collect(group->getChild(i));
  };
  collect(root);
  int count = 0;
  const char* const* keywords = qvNodeKeywords(count);
  for (int i = 0; i < count; ++i) EXPECT_EQ(seen.count(keywords[i]), 1u) << keywords[i];
}
