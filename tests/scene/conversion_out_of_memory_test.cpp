// Each allocation of a conversion fails in turn (operator new replaced: tests/support/failing_allocation).
#include "../support/converted_scene.h"

#include "../support/failing_allocation.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace quillmere::test {
namespace {

// Something of every kind the conversion builds, with split edges.
const std::string kScene =
    "Separator { Material { diffuseColor [1 0 0, 0 1 0, 0 0 1] } MaterialBinding { value PER_FACE } "
    "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 0 0] } "
    "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1, 1, 4, 2, -1] } "
    "MaterialBinding { value PER_VERTEX } IndexedLineSet { coordIndex [0, 1, 2, -1, 3, 4] } PointSet { } "
    "FontStyle { size 2 } AsciiText { string [\"Hi\", \"c\"] } "
    "RELframe { velocity 0.5 0 0 } Texture2 { image 1 1 1 0xFF } Cube { } "
    "LOD { range [10] Sphere { } Cone { } } }";

TEST(ConversionOutOfMemory, EveryFailedAllocationEndsInAReportedFailure) {
  SceneRead read = readScene(std::string(kHeader) + kScene);
  ASSERT_TRUE(read.root);
  ConversionOptions options;
  options.maxEdgeLength = 0.5f;
  int failures = 0;
  for (long failAt = 0;; ++failAt) {
    DvGroup root;
    testing::internal::CaptureStderr(); // the warnings of the partial conversions
    failAllocationAfter(failAt);
    ConversionResult result = convertScene(*read.root, root, options);
    stopFailingAllocations();
    testing::internal::GetCapturedStderr();
    if (!allocationFailed()) {
      EXPECT_TRUE(result.ok) << result.error; // every allocation has failed once: done
      break;
    }
    ++failures;
    EXPECT_FALSE(result.ok) << failAt;
    EXPECT_EQ(result.error, "Out of memory while converting the scene") << failAt;
  }
  EXPECT_GT(failures, 100);
}

} // namespace
} // namespace quillmere::test
