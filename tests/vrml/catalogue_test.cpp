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

TEST(Catalogue, FactoryMakesFortyTwoClassesByExactKeyword) {
  int count = 0;
  const char* const* keywords = qvNodeKeywords(count);
  ASSERT_EQ(count, 42);
  std::set<std::string> distinct;
  for (int i = 0; i < count; ++i) {
    QvNodeHandle node(createNodeFromClassName(keywords[i]));
    ASSERT_NE(node, nullptr) << keywords[i];
    node->ref(); // the handle releases this reference
    EXPECT_STREQ(node->getKeyword(), keywords[i]);
    EXPECT_TRUE(node->isBuiltIn);
    distinct.insert(keywords[i]);
  }
  EXPECT_EQ(distinct.size(), 42u);
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

TEST(Catalogue, TextWithItsFontAndAnAnchorDescriptionRead) {
  SceneRead read = readScene(scene("WWWAnchor { description \"Station\"\n"
                                   "  FontStyle { size 0.5 family TYPEWRITER style (BOLD | ITALIC) }\n"
                                   "  AsciiText { string [ \"Track 2\", \"City\" ] spacing 1.5 justification RIGHT width 3 }\n"
                                   "  AsciiText { }\n"
                                   "}"));
  ASSERT_TRUE(read.ok) << read.errors;
  auto* anchor = rootAs<QvWWWAnchor>(read);
  EXPECT_EQ(anchor->description.value, "Station");
  ASSERT_EQ(anchor->getNumChildren(), 3);
  auto* font = dynamic_cast<QvFontStyle*>(anchor->getChild(0));
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->size.value, 0.5f);
  EXPECT_EQ(font->family.value, QvFontStyle::TYPEWRITER);
  EXPECT_EQ(font->style.value, QvFontStyle::BOLD | QvFontStyle::ITALIC);
  auto* text = dynamic_cast<QvAsciiText*>(anchor->getChild(1));
  ASSERT_EQ(text->string.num, 2);
  EXPECT_EQ(text->string.values[1], "City");
  EXPECT_EQ(text->justification.value, QvAsciiText::RIGHT);
  auto* plain = dynamic_cast<QvAsciiText*>(anchor->getChild(2));
  EXPECT_EQ(plain->string.values[0], "");
  EXPECT_EQ(plain->spacing.value, 1.0f);
  EXPECT_EQ(plain->justification.value, QvAsciiText::LEFT);

  SceneRead badFamily = readScene(scene("FontStyle {\n family GOTHIC }"));
  EXPECT_EQ(badFamily.errors.find(readError("Unknown QvSFEnum enumeration value \"GOTHIC\"", 3)), 0u);
}

TEST(Catalogue, EveryNodeOfTheSampleSceneReads) {
  std::FILE* file = std::fopen(QUILLMERE_TEST_DATA "/vrml/every_node.wrl", "r");
  ASSERT_NE(file, nullptr);
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

TEST(Catalogue, ExtensionNodesRejectValuesThatCannotBePhysical) {
  // Each bad value fails the read with one report at the line where the node's body ends.
  struct Case {
    const char* body;
    const char* message;
    int line;
  };
  const Case cases[] = {
      {"RELframe { velocity 0.8 0.8 0 }", // |v| = 0.8·√2 = 1.1314
       "RELframe velocity (0.8, 0.8, 0) has speed 1.131; a frame must move slower than light", 2},
      {"Separator {\n RELframe {\n  velocity 0 0 -1\n }\n}",
       "RELframe velocity (0, 0, -1) has speed 1.000; a frame must move slower than light", 5},
      {"RELframe { velocity 1e39 0 0 }", // beyond the float range: an infinity
       "RELframe velocity (inf, 0, 0) has speed inf; a frame must move slower than light", 2},
      {"RELframe { translation 0 -1e39 0 }", "RELframe translation (0, -inf, 0) is not finite", 2},
      {"RELmaterialPlanck {\n temperature -5 }", "RELmaterialPlanck temperature -5 K is not above absolute zero", 3},
      {"RELmaterialPlanck { temperature 0 }", "RELmaterialPlanck temperature 0 K is not above absolute zero", 2},
      {"RELmaterialPlanck { temperature 1e40 }", "RELmaterialPlanck temperature inf K is not finite", 2},
      {"RELmaterialPlanck { strength -1 }", "RELmaterialPlanck strength -1 is negative", 2},
      {"RELmaterialConstant { ambient 0.1 diffuse -0.2 }", "RELmaterialConstant diffuse -0.2 is negative", 2},
      {"RELmaterialConstant { specular -1e39 }", "RELmaterialConstant specular -inf is not finite", 2},
      {"RELmaterialSampled { diffuse [ 0.1, 0.2, 1e39 ] }", "RELmaterialSampled diffuse value 2 (inf) is not finite",
       2},
      {"RELmaterialRGB { specularColor 0.2 -1e39 0.2 }", "RELmaterialRGB specularColor (0.2, -inf, 0.2) is not finite",
       2},
  };
  for (const Case& c : cases) {
    SceneRead read = readScene(scene(c.body));
    EXPECT_FALSE(read.ok) << c.body;
    EXPECT_EQ(read.errors, readError(c.message, c.line)) << c.body;
  }

  // Just below light speed, a hot body, zero factors, negative samples and
  // colours outside [0, 1] are all physical enough.
  SceneRead fine = readScene(scene("Separator { RELframe { velocity 0.6 0 -0.79 } RELmaterialPlanck { temperature 1 }"
                                   " RELmaterialConstant { diffuse 0 } RELmaterialSampled { diffuse [ -0.5, 1 ] }"
                                   " RELmaterialRGB { diffuseColor 1.5 -0.2 0 } }"));
  EXPECT_TRUE(fine.ok);
  EXPECT_EQ(fine.errors, "");
}
