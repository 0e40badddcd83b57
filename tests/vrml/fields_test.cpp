#include "vrml_test_support.h"

#include "vrml/mfields.h"
#include "vrml/sfields.h"
#include "vrml/property_nodes.h"
#include "vrml/shape_nodes.h"

#include <gtest/gtest.h>

#include <utility>
#include <string>

using namespace quillmere;
using namespace quillmere::test;

namespace {

// Reads one occurrence of `field` from `text` (after a valid header) and
// returns what was written to standard error.
std::string readField(QvField& field, const std::string& text, bool expectOk = true) {
  TextInput input(std::string(kHeader) + text);
  testing::internal::CaptureStderr();
  bool ok = field.read(input.in, QvName("f"));
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ok, expectOk) << text;
  return errors;
}

// The report of a value that failed at `line`, followed by the field's own.
std::string fieldError(const std::string& message, int line) {
  return readError(message, line) + readError("Couldn't read value for field \"f\"", line);
}

} // namespace

TEST(MultipleValueField, ListsNeedCommasAndMayEndWithOne) {
  QvMFLong list;
  EXPECT_EQ(readField(list, "[ 0, 1, 2, -1, ]"), "");
  ASSERT_EQ(list.num, 4);
  EXPECT_EQ(list.maxNum, 4);
  EXPECT_EQ(list.values[0], 0);
  EXPECT_EQ(list.values[3], -1);

  EXPECT_EQ(readField(list, "[ 0 1 2 -1 ]", false),
            fieldError("Expected ',' or ']' but got '1' while reading value 1", 2));

  EXPECT_EQ(readField(list, "[ ]"), "");
  EXPECT_EQ(list.num, 0);
  EXPECT_EQ(list.values, nullptr);

  QvMFVec3f points;
  EXPECT_EQ(readField(points, "1 2\n3 4"), ""); // one value, no brackets, across lines
  ASSERT_EQ(points.num, 1);
  EXPECT_EQ(points.values[0][2], 3.0f);

  // A failure keeps what was read, with num covering the failed slot.
  QvMFFloat reals;
  EXPECT_EQ(readField(reals, "[ 1, 2,\n x ]", false), fieldError("Couldn't read value 3 of field", 3));
  ASSERT_EQ(reals.num, 3);
  EXPECT_EQ(reals.values[1], 2.0f);

  EXPECT_EQ(readField(reals, "[ 1, 2", false), fieldError("Couldn't read value 2 of field", 2));
}

TEST(Field, TildeMarksAFieldIgnored) {
  QvSFFloat alone;
  alone.value = 7;
  alone.setContainer(nullptr);
  EXPECT_EQ(readField(alone, "~ 3"), "");
  EXPECT_EQ(alone.value, 7.0f);
  EXPECT_TRUE(alone.isDefault());
  EXPECT_TRUE(alone.isIgnored());

  QvSFFloat after;
  EXPECT_EQ(readField(after, "3 ~"), "");
  EXPECT_EQ(after.value, 3.0f);
  EXPECT_FALSE(after.isDefault());
  EXPECT_TRUE(after.isIgnored());

  QvSFFloat plain;
  EXPECT_EQ(readField(plain, "3 x"), "");
  EXPECT_FALSE(plain.isDefault());
  EXPECT_FALSE(plain.isIgnored());
}

TEST(BoolField, TakesZeroOneTrueOrFalseOnly) {
  QvSFBool flag;
  EXPECT_EQ(readField(flag, "TRUE"), "");
  EXPECT_EQ(flag.value, 1);
  EXPECT_EQ(readField(flag, "0"), "");
  EXPECT_EQ(flag.value, 0);
  EXPECT_EQ(readField(flag, "0x1"), ""); // integers are integers, hexadecimal too
  EXPECT_EQ(flag.value, 1);
  EXPECT_EQ(readField(flag, "2", false), fieldError("Illegal value for QvSFBool: 2 (must be 0 or 1)", 2));
  EXPECT_EQ(readField(flag, "true", false),
            fieldError("Unknown value (\"true\") for QvSFBool (must be TRUE or FALSE)", 2));
}

TEST(BitMaskField, ReadsNamesJoinedByBarsInParentheses) {
  QvCone cone; // attaches the Part names SIDES = 1, BOTTOM = 2, ALL = 3
  EXPECT_EQ(readField(cone.parts, "( SIDES | BOTTOM )"), "");
  EXPECT_EQ(cone.parts.value, 3);
  EXPECT_EQ(readField(cone.parts, "ALL"), "");
  EXPECT_EQ(cone.parts.value, 3);
  EXPECT_EQ(readField(cone.parts, "()"), "");
  EXPECT_EQ(cone.parts.value, 0);
  EXPECT_EQ(readField(cone.parts, "(SIDES|)"), "");
  EXPECT_EQ(cone.parts.value, 1);
  EXPECT_EQ(readField(cone.parts, "TOP", false), fieldError("Unknown QvSFBitMask bit mask value \"TOP\"", 2));
  EXPECT_EQ(readField(cone.parts, "(SIDES BOTTOM)", false),
            fieldError("Expected '|' or ')', got 'B' in QvSFBitMask value", 2));
  EXPECT_EQ(readField(cone.parts, "(SIDES", false), fieldError("EOF reached before ')' in QvSFBitMask value", 2));

  QvCylinder cylinder; // its own Part type knows TOP
  EXPECT_EQ(readField(cylinder.parts, "TOP"), "");
  EXPECT_EQ(cylinder.parts.value, 2);
}

TEST(EnumField, TakesOnlyLegalNamesNeverNumbers) {
  SceneRead good = readScene(std::string(kHeader) + "MaterialBinding { value PER_VERTEX_INDEXED }");
  ASSERT_TRUE(good.ok);
  EXPECT_EQ(rootAs<QvMaterialBinding>(good)->value.value, 8);

  SceneRead bad = readScene(std::string(kHeader) + "MaterialBinding {\n value per_vertex }");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.errors, readError("Unknown QvSFEnum enumeration value \"per_vertex\"", 3) +
                            readError("Couldn't read value for field \"value\"", 3));

  SceneRead number = readScene(std::string(kHeader) + "MaterialBinding { value 2 }");
  EXPECT_FALSE(number.ok);
  EXPECT_EQ(number.errors.substr(0, number.errors.find('\n')),
            "VRML read error: Unknown QvSFEnum enumeration value \"\"");
}

TEST(ImageField, SplitsEachPixelIntoComponentBytesMostSignificantFirst) {
  QvSFImage image;
  EXPECT_EQ(readField(image, "2 1 3 0xFF0000 0x00FF00"), "");
  EXPECT_EQ(image.size[0], 2);
  EXPECT_EQ(image.size[1], 1);
  EXPECT_EQ(image.numComponents, 3);
  const unsigned char expected[] = {0xFF, 0, 0, 0, 0xFF, 0};
  ASSERT_NE(image.bytes, nullptr);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(image.bytes[i], expected[i]) << i;

  EXPECT_EQ(readField(image, "0 5 3"), ""); // no pixels, no values
  EXPECT_EQ(image.bytes, nullptr);
  EXPECT_EQ(image.size[1], 5);
}

TEST(ImageField, RefusesNegativeOrAbsurdSizesBeforeAllocating) {
  // Sizes are taken as written, never wrapped: beyond what the field stores
  // (a width or height of 32767) they are too large, and so is anything over
  // the 256 MB bound (30000 x 30000 x 1), whatever the file holds.
  QvSFImage image;
  const std::pair<const char*, const char*> cases[] = {
      {"-1 1 1 0", "-1 x 1 with 1 components is negative"},
      {"1 1 -3 0", "1 x 1 with -3 components is negative"},
      {"65536 1 1 0", "65536 x 1 with 1 components is too large"},
      {"1 32768 1 0", "1 x 32768 with 1 components is too large"},
      {"2147483647 2147483647 1 0", "2147483647 x 2147483647 with 1 components is too large"},
      {"1 1 4294967297 0", "1 x 1 with 4294967297 components is too large"},
      {"30000 30000 1 0", "30000 x 30000 with 1 components is too large"},
      {"1000 1000 1 0", "1000 x 1000 needs 1000000 pixel values, more than the rest of the file holds"},
  };
  for (const auto& [text, message] : cases)
    EXPECT_EQ(readField(image, text, false), fieldError(std::string("Image size ") + message, 2));
  EXPECT_EQ(image.bytes, nullptr);
  EXPECT_EQ(image.size[0], 0);
}

// A field written twice takes the later value whole: a shorter list keeps none of the earlier's values.
TEST(FieldGivenTwice, TheLaterListReplacesTheEarlierWhole) {
  for (const char* later : {"[0 0 1, 0 0 2]", "[0 0 1, 0 0 2,]"}) {
    SceneRead read = readScene(std::string(kHeader) + "Coordinate3 { point [1 2 3, 4 5 6, 7 8 9] point " + later +
                               " }");
    ASSERT_TRUE(read.ok) << read.errors;
    auto* coordinates = rootAs<QvCoordinate3>(read);
    ASSERT_NE(coordinates, nullptr);
    ASSERT_EQ(coordinates->point.num, 2) << later;
    EXPECT_EQ(coordinates->point.values[0][2], 1.0f);
    EXPECT_EQ(coordinates->point.values[1][2], 2.0f);
  }
}
