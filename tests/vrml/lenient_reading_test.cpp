// The viewer's lenient reading of what exporters write beyond VRML 1.0; the
// strict reader still refuses the same files.
#include "vrml_test_support.h"

#include "vrml/group.h"
#include "vrml/property_nodes.h"
#include "vrml/shape_nodes.h"

namespace quillmere::test {
namespace {

SceneRead readLeniently(const std::string& text) { return readScene(text, "model.wrl"); }

QvGroup& rootGroup(const SceneRead& read) { return *static_cast<QvGroup*>(read.root.get()); }

TEST(LenientReading, SkipsUnknownNodesAndFieldsWithOneWarningPerName) {
  const std::string text = std::string(kHeader) +
                           "Separator {\n"
                           "  Exporter { title \"a } in a string\" inner { depth 2 } }\n" // line 3
                           "  Exporter { }\n"
                           "  Material { glowColor 1 1 1 shininess 0.5 glowColor [ 0 0 0 ] }\n" // line 5
                           "  Cube { }\n"
                           "}\n";
  SceneRead strict = readScene(text);
  EXPECT_FALSE(strict.ok); // the validator's reading stays strict

  SceneRead read = readLeniently(text);
  ASSERT_TRUE(read.ok) << read.errors;
  EXPECT_EQ(read.skippedNodes, 2);
  EXPECT_EQ(read.skippedFields, 2);
  EXPECT_EQ(read.errors, "model.wrl:3: unknown node \"Exporter\" skipped\n"
                         "model.wrl:5: unknown field \"glowColor\" skipped with its value\n");
  QvGroup& separator = rootGroup(read);
  ASSERT_EQ(separator.getNumChildren(), 4); // the skipped nodes stand as empty placeholders
  auto* material = dynamic_cast<ownMaterial*>(separator.getChild(2));
  ASSERT_NE(material, nullptr);
  ASSERT_EQ(material->shininess.num, 1); // the field after the skipped one is read
  EXPECT_FLOAT_EQ(material->shininess.values[0], 0.5f);
  EXPECT_NE(dynamic_cast<QvCube*>(separator.getChild(3)), nullptr);
}

TEST(LenientReading, ReadsListsWithoutCommasAndNodesThatAreAKnownClass) {
  const std::string text = std::string(kHeader) +
                           "Separator {\n"
                           "  Coordinate3 { point [ 0 0 0  1 0 0\n 1 1 0 ] }\n"
                           "  ExtendedMaterial { fields [ SFColor diffuseColor, MFString isA, SFFloat gloss ]\n"
                           "    isA [ \"Material\" ] diffuseColor 1 0 0 gloss 0.3 }\n" // gloss on line 6
                           "}\n";
  EXPECT_FALSE(readScene(text).ok);
  SceneRead read = readLeniently(text);
  ASSERT_TRUE(read.ok) << read.errors;
  QvGroup& separator = rootGroup(read);
  ASSERT_EQ(separator.getNumChildren(), 2);
  auto* points = dynamic_cast<QvCoordinate3*>(separator.getChild(0));
  ASSERT_NE(points, nullptr);
  ASSERT_EQ(points->point.num, 3);
  EXPECT_FLOAT_EQ(points->point.values[2][1], 1.0f);
  auto* material = dynamic_cast<ownMaterial*>(separator.getChild(1));
  ASSERT_NE(material, nullptr) << "read as the Material it declares itself to be";
  ASSERT_EQ(material->diffuseColor.num, 1);
  EXPECT_FLOAT_EQ(material->diffuseColor.values[0][0], 1.0f);
  EXPECT_FLOAT_EQ(material->diffuseColor.values[0][1], 0.0f);
  EXPECT_EQ(read.skippedNodes, 0);
  EXPECT_EQ(read.skippedFields, 1);
  EXPECT_EQ(read.errors, "model.wrl:6: unknown field \"gloss\" skipped with its value\n");
}

} // namespace
} // namespace quillmere::test
