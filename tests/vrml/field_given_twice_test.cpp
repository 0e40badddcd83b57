#include "vrml_test_support.h"

#include "vrml/property_nodes.h"

#include <gtest/gtest.h>

using namespace quillmere;
using namespace quillmere::test;

// A field written twice in one node takes the later value whole: a shorter
// list replaces a longer one and keeps every one of its own values, none of
// the earlier list's.
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
