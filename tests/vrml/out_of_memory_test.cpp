// A read whose allocation fails part-way, at every allocation in turn (the
// test program replaces operator new: tests/support/failing_allocation).
#include "vrml_test_support.h"

#include "vrml/group.h"

#include "../support/failing_allocation.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

using namespace quillmere;
using namespace quillmere::test;

namespace {

// readScene, with allocation number `failAt` of the read itself made to fail.
SceneRead readFailingAt(const std::string& text, long failAt) {
  SceneRead result;
  TextInput input(text);
  testing::internal::CaptureStderr();
  QvNode* root = nullptr;
  failAllocationAfter(failAt);
  result.ok = QvScene::read(input.in, root);
  stopFailingAllocations();
  result.errors = testing::internal::GetCapturedStderr();
  result.root.reset(root);
  result.defNames = input.in.getNumReferences();
  return result;
}

} // namespace

TEST(ReadOutOfMemory, EveryFailedAllocationEndsInAReportedFailedRead) {
  // New names each round, so interning them allocates every time.
  auto scene = [](int round) {
    std::string n = std::to_string(round);
    return std::string(kHeader) + "DEF Root" + n + " Separator {\n" +
           "  Info { string \"a string longer than the thirty-one inline characters " + n + "\" }\n" +
           "  DEF Points" + n + " Coordinate3 { point [ 0 0 0, 1 0 0, 0 1 0, 1 1 1, 2 2 2, 3 3 3, 4 4 4, 5 5 5, 6 6 6 ] }\n" +
           "  Gizmo" + n + " { fields [ SFFloat size, MFLong list ] size 2 list [ 1, 2, 3 ] }\n" +
           "  Texture2 { image 2 1 1 0xFF 0x00 }\n" +
           "  Group { USE Points" + n + " Cube {} Sphere {} Cone {} }\n" + "}\n" +
           "Separator { USE Points" + n + " AsciiText { string [ \"one line of text longer than the inline characters\","
           " \"two\", \"three\" ] } }\n" +
           "Material {}\n";
  };
  // The second pass fails each allocation of a read without the once-only ones (field tables, keywords).
  for (int pass = 0; pass < 2; ++pass) {
    int failures = 0;
    for (int failAt = 0;; ++failAt) {
      SceneRead read = readFailingAt(scene(1000 * pass + failAt), failAt);
      if (!allocationFailed()) {
        EXPECT_TRUE(read.ok) << read.errors;
        break;
      }
      ++failures;
      EXPECT_FALSE(read.ok) << "allocation " << failAt;
      EXPECT_EQ(read.root, nullptr);
      EXPECT_EQ(read.defNames, 0) << "the DEF table must not point at freed nodes";
      EXPECT_EQ(read.errors.find("VRML read error: Out of memory while reading the scene file\n\tOccurred at line"), 0u)
          << "allocation " << failAt << ": " << read.errors;
      EXPECT_EQ(read.errors.find("VRML read error", 1), std::string::npos) << read.errors;
    }
    EXPECT_GT(failures, 30); // the scene does allocate, at many places
  }

  // Nothing half-built stays behind: the classes' field tables read as before.
  SceneRead again = readScene(scene(1000000));
  ASSERT_TRUE(again.ok) << again.errors;
  auto* roots = rootAs<QvGroup>(again);
  ASSERT_NE(roots, nullptr);
  ASSERT_EQ(roots->getNumChildren(), 3);
  auto* root = dynamic_cast<QvGroup*>(roots->getChild(0));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->getNumChildren(), 5);
  EXPECT_EQ(root->getChild(1)->getFieldTable()->getNumFields(), 1); // Coordinate3: point
  EXPECT_EQ(again.defNames, 2);
}
