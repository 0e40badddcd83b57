#include "vrml_test_support.h"

#include "vrml/group_nodes.h"
#include "vrml/node_factory.h"
#include "vrml/property_nodes.h"
#include "vrml/relativistic_nodes.h"
#include "vrml/shape_nodes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>
#include <string>

using namespace quillmere;
using namespace quillmere::test;

namespace {

std::string scene(const std::string& body) { return std::string(kHeader) + body; }

} // namespace

TEST(Catalogue, EveryNodeOfTheSampleSceneReads) {
  std::ifstream file(QUILLMERE_TEST_DATA "/vrml/every_node.wrl");
  ASSERT_TRUE(file);
  SceneRead read = readScene(std::string(std::istreambuf_iterator<char>(file), {}));
  ASSERT_TRUE(read.ok) << read.errors;
  EXPECT_EQ(read.errors, "");
  QvNode* root = read.root.get();
  ASSERT_NE(dynamic_cast<QvSeparator*>(root), nullptr);
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
      {"RELmaterialPlanck { strength -1 }", "RELmaterialPlanck strength -1 is negative", 2},
      {"RELmaterialConstant { ambient 0.1 diffuse -0.2 }", "RELmaterialConstant diffuse -0.2 is negative", 2},
      {"RELmaterialSampled { diffuse [ 0.1, 0.2, 1e39 ] }", "RELmaterialSampled diffuse value 2 (inf) is not finite",
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
