#include "vrml_test_support.h"

#include "vrml/group_nodes.h"
#include "vrml/property_nodes.h"
#include "vrml/shape_nodes.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

using namespace quillmere;
using namespace quillmere::test;

namespace {

std::string scene(const std::string& body) { return std::string(kHeader) + body; }

// The first report only, without its location line.
std::string firstMessage(const SceneRead& read) {
  std::string first = read.errors.substr(0, read.errors.find("\n\tOccurred"));
  return first.rfind("VRML read error: ", 0) == 0 ? first.substr(17) : first;
}

} // namespace

TEST(SceneRead, EmptyBodiesAndNullGiveNoRoot) {
  SceneRead headerOnly = readScene("#VRML V1.0 ascii");
  EXPECT_TRUE(headerOnly.ok);
  EXPECT_EQ(headerOnly.root, nullptr);
  EXPECT_EQ(headerOnly.errors, "");

  // A comment that runs into the end of the file is reported; the read goes on.
  SceneRead comment = readScene(scene("# the end"));
  EXPECT_TRUE(comment.ok);
  EXPECT_EQ(comment.root, nullptr);
  EXPECT_EQ(comment.errors, readError("EOF reached before end of comment", 2));
}

TEST(SceneRead, SeveralRootsComeBackUnderAPlainGroupInFileOrder) {
  // One root, trailing comment left open: read as before, nothing reported.
  SceneRead single = readScene(scene("Separator { Cube {} }\n# the end"));
  ASSERT_TRUE(single.ok);
  EXPECT_EQ(single.errors, "");
  EXPECT_EQ(single.numRoots, 1);
  EXPECT_NE(rootAs<QvSeparator>(single), nullptr);

  SceneRead pair = readScene(scene("Material { diffuseColor 1 0 0 }\nSphere { radius 2 }\n"));
  ASSERT_TRUE(pair.ok) << pair.errors;
  EXPECT_EQ(pair.numRoots, 2);
  ASSERT_EQ(typeid(*pair.root), typeid(QvGroup));
  auto* group = rootAs<QvGroup>(pair);
  ASSERT_EQ(group->getNumChildren(), 2);
  EXPECT_NE(dynamic_cast<ownMaterial*>(group->getChild(0)), nullptr);
  EXPECT_NE(dynamic_cast<QvSphere*>(group->getChild(1)), nullptr);

  // DEF names reach across roots; a NULL between roots is no root.
  SceneRead three = readScene(scene("Separator { DEF Box Cube {} }\nNULL\n"
                                    "Separator { USE Box }\nSeparator { Sphere {} }"));
  ASSERT_TRUE(three.ok) << three.errors;
  EXPECT_EQ(three.numRoots, 3);
  auto* roots = rootAs<QvGroup>(three);
  ASSERT_EQ(roots->getNumChildren(), 3);
  EXPECT_EQ(static_cast<QvGroup*>(roots->getChild(0))->getChild(0),
            static_cast<QvGroup*>(roots->getChild(1))->getChild(0));
}

TEST(SceneRead, ReportsEachMainErrorWithItsLineAlsoInALaterRoot) {
  struct Case {
    const char* body;
    const char* message;
    int line;
  };
  const Case cases[] = {
      {"Cube {\n size 2 }", "Unknown field \"size\"", 3},
      {"Frobnicate {\n}", "Unknown class \"Frobnicate\"", 3},
      {"Frobnicate { fields [ SFWhat x ] }", "Bad field specifications for node", 2},
      {"Separator {\n USE", "Premature end of file after USE", 3},
      {"Separator {\n\n USE Nowhere }", "Unknown reference \"Nowhere\"", 4},
      {"DEF \"\" Cube {}", "No name given after DEF", 2},
      {"DEF Box { }", "Invalid definition of Box", 2},
      {"Cube\n\nx", "Expected '{'; got 'x'", 4},
      {"Cube {\n", "Expected '}'; got EOF", 3},
      {"Separator { Cube {} }\nSeparator {\n  Cube { size 2 }\n}\n", "Unknown field \"size\"", 4},
      {"Cube {}\nSphere {}\n\n}", "Extra characters ('}') found in input", 5},
      {"NULL\n", "Extra characters ('\\n') found in input", 2}, // the line feed put back, shown escaped
  };
  for (const Case& c : cases) {
    SceneRead read = readScene(scene(c.body));
    EXPECT_FALSE(read.ok) << c.body;
    EXPECT_EQ(read.root, nullptr) << c.body;
    EXPECT_EQ(read.errors.substr(0, readError(c.message, c.line).size()), readError(c.message, c.line))
        << c.body << "\n" << read.errors;
  }
  // DEF at the very end: the name and the keyword are both missing.
  SceneRead defAtEnd = readScene(scene("DEF"));
  EXPECT_FALSE(defAtEnd.ok);
  EXPECT_EQ(defAtEnd.errors, readError("Premature end of file after DEF", 2) +
                                 readError("No name given after DEF", 2) + readError("Invalid definition of ", 2));
}

TEST(SceneRead, GroupFieldsMustComeBeforeTheFirstChild) {
  SceneRead before = readScene(scene("Separator { renderCulling ON Cube {} }"));
  ASSERT_TRUE(before.ok);
  EXPECT_EQ(rootAs<QvSeparator>(before)->renderCulling.value, QvSeparator::ON);
  EXPECT_EQ(rootAs<QvSeparator>(before)->getNumChildren(), 1);

  // After a child the field name is taken for a class keyword.
  SceneRead after = readScene(scene("Separator { Cube {} renderCulling ON }"));
  EXPECT_FALSE(after.ok);
  EXPECT_EQ(firstMessage(after), "Expected '{'; got 'O'");

  // A built-in group does not know `fields`: it starts a child.
  SceneRead declared = readScene(scene("Group { fields [ SFFloat x ] }"));
  EXPECT_FALSE(declared.ok);
  EXPECT_EQ(firstMessage(declared), "Expected '{'; got '['");
}

TEST(SceneRead, DefUseSharesOneNodeObject) {
  SceneRead read = readScene(scene("Separator {\n DEF Box Cube { width 3 }\n Separator { USE Box }\n"
                                   " DEF Box Sphere {} USE Box }"));
  ASSERT_TRUE(read.ok) << read.errors;
  auto* root = rootAs<QvSeparator>(read);
  ASSERT_EQ(root->getNumChildren(), 4);
  auto* inner = dynamic_cast<QvSeparator*>(root->getChild(1));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->getChild(0), root->getChild(0)); // the same object, not a copy
  EXPECT_EQ(root->getChild(0)->getRefCount(), 2);
  // A later DEF of the same name replaces the earlier one for later USEs.
  EXPECT_EQ(root->getChild(3), root->getChild(2));
  EXPECT_NE(dynamic_cast<QvSphere*>(root->getChild(3)), nullptr);
  EXPECT_EQ(read.defNames, 1);
}

TEST(SceneRead, DefNamesAreRewrittenOnTheNodeButUsedAsWritten) {
  SceneRead read = readScene(scene("Separator { DEF a{b Cube {} DEF 1x Sphere {} DEF ok-name.2 Cone {} "
                                   "USE a{b }"));
  ASSERT_TRUE(read.ok) << read.errors;
  auto* root = rootAs<QvSeparator>(read);
  ASSERT_EQ(root->getNumChildren(), 4);
  EXPECT_STREQ(root->getChild(0)->getName().getString(), "a_b");
  EXPECT_STREQ(root->getChild(1)->getName().getString(), "_1x");
  EXPECT_STREQ(root->getChild(2)->getName().getString(), "ok-name.2");
  EXPECT_EQ(root->getChild(3), root->getChild(0));
}

TEST(SceneRead, UnknownNodesReadTheirDeclaredFieldsThenChildren) {
  SceneRead read = readScene(scene("Gadget { fields [ SFFloat size, MFVec3f spots, ] size 2.5\n"
                                   " spots [ 1 2 3, 4 5 6 ] Cube {} Sphere {} }"));
  ASSERT_TRUE(read.ok) << read.errors;
  auto* gadget = rootAs<QvUnknownNode>(read);
  ASSERT_NE(gadget, nullptr);
  EXPECT_FALSE(gadget->isBuiltIn);
  EXPECT_STREQ(gadget->getKeyword(), "Gadget");
  QvFieldTable* table = gadget->getFieldTable();
  ASSERT_EQ(table->getNumFields(), 2);
  EXPECT_STREQ(table->getFieldName(1).getString(), "spots");
  auto* size = dynamic_cast<QvSFFloat*>(table->getField(gadget, 0));
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->value, 2.5f);
  auto* spots = dynamic_cast<QvMFVec3f*>(table->getField(gadget, 1));
  ASSERT_NE(spots, nullptr);
  ASSERT_EQ(spots->num, 2);
  EXPECT_EQ(spots->values[1][2], 6.0f);
  EXPECT_EQ(gadget->getNumChildren(), 2);

  // A built-in node may carry a declaration list: read, checked, ignored.
  SceneRead builtIn = readScene(scene("Cube { fields [ SFFloat width ] width 4 }"));
  ASSERT_TRUE(builtIn.ok) << builtIn.errors;
  EXPECT_EQ(rootAs<QvCube>(builtIn)->width.value, 4.0f);

  SceneRead empty = readScene(scene("Gadget { }"));
  EXPECT_FALSE(empty.ok);
  EXPECT_EQ(empty.errors, readError("Unknown class \"Gadget\"", 2));
}

TEST(SceneRead, UseInsideItsOwnDefinitionIsACycleAndFails) {
  const char* bodies[] = {"DEF Loop Separator { USE Loop }",
                          "DEF Loop Separator { Group { Cube {} USE Loop } }"};
  for (const char* body : bodies) {
    SceneRead read = readScene(scene(body));
    EXPECT_FALSE(read.ok) << body;
    EXPECT_EQ(read.root, nullptr);
    EXPECT_EQ(firstMessage(read),
              "USE of \"Loop\" inside its own definition would make the node its own descendant");
  }
  // Redefined inside the body, the name refers to the new node: no cycle.
  SceneRead redefined = readScene(scene("DEF Loop Separator { DEF Loop Cube {} USE Loop }"));
  ASSERT_TRUE(redefined.ok) << redefined.errors;
  EXPECT_EQ(rootAs<QvSeparator>(redefined)->getNumChildren(), 2);
}

TEST(SceneRead, NestingBeyondTheLimitIsRefused) {
  std::string deep;
  for (int i = 0; i <= QvInputFile::kMaxNestingDepth; ++i) deep += "Group {";
  SceneRead read = readScene(scene(deep));
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(firstMessage(read), "Nodes nested more than 1000 deep");

  std::string allowed;
  for (int i = 0; i < QvInputFile::kMaxNestingDepth; ++i) allowed += "Group {";
  for (int i = 0; i < QvInputFile::kMaxNestingDepth; ++i) allowed += "}";
  EXPECT_TRUE(readScene(scene(allowed)).ok);

  // A USE brings its node's whole subtree along: Chain is 999 levels tall,
  // so it fits directly under the root but not one level further down.
  std::string chain = "DEF Chain";
  for (int i = 1; i < QvInputFile::kMaxNestingDepth; ++i) chain += " Group {";
  for (int i = 1; i < QvInputFile::kMaxNestingDepth; ++i) chain += "}";
  EXPECT_TRUE(readScene(scene("Group { " + chain + " USE Chain }")).ok);
  SceneRead used = readScene(scene("Group { " + chain + " Group { USE Chain } }"));
  EXPECT_FALSE(used.ok);
  EXPECT_EQ(firstMessage(used), "Nodes nested more than 1000 deep");

  // Several roots sit one level down, under the group the reader makes.
  EXPECT_EQ(firstMessage(readScene(scene(allowed + " Cube {}"))), "Nodes nested more than 1000 deep");
}

TEST(SceneRead, SkippingAFailedBodyCountsNoLines) {
  TextInput input(scene("Cube { size\n\n\n { } }"));
  QvNode* node = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(QvNode::read(input.in, node));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), readError("Unknown field \"size\"", 2));
  EXPECT_EQ(node, nullptr);
  EXPECT_EQ(input.in.getLineNum(), 2);
  char c;
  EXPECT_FALSE(input.in.get(c)); // the skip ran to the matching brace, the end
}
