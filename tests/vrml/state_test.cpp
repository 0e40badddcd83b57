// The walk over the parsed tree: what it visits is checked on the built
// scene (tests/scene/scene_conversion_test.cpp); here, its budget.
#include "vrml_test_support.h"

#include "vrml/state.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmere;
using namespace quillmere::test;

TEST(TraversalState, SharedNodesAreVisitedPerPathWithinABudget) {
  // L1 holds L0 twice: the Separator's walk visits L0, L1 and L1's two uses of L0.
  SceneRead small = readScene(std::string(kHeader) + "Separator { DEF L0 Cube {} DEF L1 Group { USE L0 USE L0 } }");
  ASSERT_TRUE(small.ok) << small.errors;
  QvState smallState;
  small.root->traverse(smallState);
  EXPECT_EQ(smallState.getVisitCount(), 4);

  // Thirty levels of doubling would be 2^31 visits; the walk stops at the budget and says so once.
  std::string body = "Separator { DEF L0 Cube {}";
  for (int level = 1; level <= 30; ++level)
    body += " DEF L" + std::to_string(level) + " Group { USE L" + std::to_string(level - 1) + " USE L" +
            std::to_string(level - 1) + " }";
  SceneRead doubling = readScene(std::string(kHeader) + body + " }");
  ASSERT_TRUE(doubling.ok) << doubling.errors;
  QvState state;
  testing::internal::CaptureStderr();
  doubling.root->traverse(state);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "The scene expands to more than 1000000 node instances through USE; the rest is left out\n");
  EXPECT_EQ(state.getVisitCount(), QvState::kMaxVisits + 1);
}
