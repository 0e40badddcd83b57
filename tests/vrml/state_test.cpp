#include "recording_conversion.h"
#include "vrml_test_support.h"

#include "vrml/state.h"
#include "vrml/transform_nodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillmere;
using namespace quillmere::test;

namespace {

// Reads `body` and walks it with a recording conversion.
std::vector<std::string> walk(const std::string& body) {
  SceneRead read = readScene(std::string(kHeader) + body);
  EXPECT_TRUE(read.ok) << read.errors;
  if (!read.root) return {};
  RecordingConversion conversion;
  QvState state(&conversion);
  read.root->traverse(state);
  EXPECT_EQ(state.depth, 0);
  return conversion.events;
}

QvElement* element(int type = QvElement::Unknown) {
  auto* made = new QvElement;
  made->type = type;
  return made;
}

} // namespace

TEST(TraversalState, PopRemovesDeeperElementsFromEveryStack) {
  QvState state;
  QvElement* outer = element();
  state.addElement(QvState::MaterialIndex, outer); // depth 0: stays to the end
  state.push();
  state.addElement(QvState::MaterialIndex, element());
  state.addElement(QvState::LightIndex, element(QvElement::PointLight));
  state.push();
  state.addElement(QvState::RELframeIndex, element());
  EXPECT_EQ(state.getTopElement(QvState::MaterialIndex)->next, outer);
  EXPECT_EQ(state.getTopElement(QvState::RELframeIndex)->depth, 2);
  state.pop();
  EXPECT_EQ(state.getTopElement(QvState::RELframeIndex), nullptr);
  EXPECT_NE(state.getTopElement(QvState::LightIndex), nullptr);
  state.pop();
  EXPECT_EQ(state.getTopElement(QvState::LightIndex), nullptr);
  EXPECT_EQ(state.getTopElement(QvState::MaterialIndex), outer);
  EXPECT_EQ(state.depth, 0);
  // The destructor frees `outer`; the leak checker holds us to it.
}

TEST(TraversalState, SeparatorScopesWhatItsChildrenAdd) {
  std::vector<std::string> expected = {
      "material M1", "material M2", "faces Inner material[M2 M1] transform[]", "faces Outer material[] transform[]"};
  EXPECT_EQ(walk("Group { Separator { DEF M1 Material {} DEF M2 Material {} DEF Inner IndexedFaceSet {} }"
                 " DEF Outer IndexedFaceSet {} }"),
            expected);
  // A Group opens no scope: what its children add stays in force after it.
  expected = {"material M1", "faces After material[M1] transform[]"};
  EXPECT_EQ(walk("Separator { Group { DEF M1 Material {} } DEF After IndexedFaceSet {} }"), expected);
}

TEST(TraversalState, TransformSeparatorScopesOnlyTransforms) {
  std::vector<std::string> expected = {
      "material M", "faces Inside material[M] transform[Translation Move NoOpTransform]",
      "faces Outside material[M] transform[NoOpTransform]"};
  EXPECT_EQ(walk("Separator { TransformSeparator { DEF Move Translation { translation 1 0 0 } Translation {}"
                 " DEF M Material {} DEF Inside IndexedFaceSet {} } DEF Outside IndexedFaceSet {} }"),
            expected);
}

TEST(TraversalState, SwitchAndLevelOfDetailChooseChildren) {
  const std::string three = " DEF A IndexedFaceSet {} DEF B IndexedFaceSet {} DEF C IndexedFaceSet {} }";
  std::vector<std::string> all = {"faces A material[] transform[]", "faces B material[] transform[]",
                                  "faces C material[] transform[]"};
  EXPECT_EQ(walk("Switch { whichChild -3" + three), all);
  EXPECT_EQ(walk("Switch { whichChild 5" + three), std::vector<std::string>{});
  EXPECT_EQ(walk("Switch {" + three), std::vector<std::string>{}); // -1 by default
  EXPECT_EQ(walk("Switch { whichChild -2" + three), std::vector<std::string>{});
  EXPECT_EQ(walk("Switch { whichChild 1" + three), std::vector<std::string>{all[1]});
  EXPECT_EQ(walk("LevelOfDetail { screenArea [ 1, 2 ]" + three), std::vector<std::string>{all[0]});
  // An anchor's children are visited as a Separator's (what they set stays
  // inside); unknown nodes are passed over with their children.
  EXPECT_EQ(walk("Group { WWWAnchor {" + three + " Thing { fields [ SFLong n ]" + three + " }"), all);
  EXPECT_EQ(walk("Group { WWWAnchor { DEF M Material {} } DEF D IndexedFaceSet {} }"),
            std::vector<std::string>({"material M", "faces D material[] transform[]"}));
}

TEST(TraversalState, LodChildrenEachGetTheirOwnScope) {
  std::vector<std::string> expected = {"lod Far depth 0",
                                       "child 0",
                                       "material M",
                                       "faces Near material[M] transform[]",
                                       "end child 0",
                                       "child 1",
                                       "faces Coarse material[] transform[]",
                                       "end child 1",
                                       "child 2",
                                       "cube Box material[] transform[]",
                                       "end child 2",
                                       "end lod Far depth 0"};
  EXPECT_EQ(walk("DEF Far LOD { range [ 10, 20 ] Group { DEF M Material {} DEF Near IndexedFaceSet {} }"
                 " DEF Coarse IndexedFaceSet {} DEF Box Cube {} }"),
            expected);
  EXPECT_EQ(walk("LOD { range [ 1 ] }"), std::vector<std::string>{}); // no children, nothing built
}

TEST(TraversalState, PrimitivesReachTheConversionWithTheStateInForce) {
  std::vector<std::string> expected = {"material M", "cube B material[M] transform[Translation]",
                                       "sphere S material[M] transform[Translation]",
                                       "cone C material[M] transform[Scale Translation]",
                                       "cylinder Y material[] transform[]"};
  EXPECT_EQ(walk("Group { Separator { DEF M Material {} Translation {} DEF B Cube {} DEF S Sphere {} Scale {}"
                 " DEF C Cone {} PointSet {} } DEF Y Cylinder {} }"),
            expected);
}

TEST(TraversalState, SharedNodesAreVisitedAtEveryUse) {
  std::vector<std::string> expected = {"texture T", "frame F", "lines Wire coordinates[C]", "texture T",
                                       "frame F", "lines Wire coordinates[C]"};
  EXPECT_EQ(walk("Separator { DEF C Coordinate3 { point [ 0 0 0, 1 1 1 ] }"
                 " DEF Piece Separator { DEF T Texture2 {} DEF F RELframe { velocity 0.5 0 0 }"
                 " DEF Wire IndexedLineSet { coordIndex [ 0, 1, -1 ] } } USE Piece }"),
            expected);
}

TEST(TraversalState, PropertyNodesPushTypedElementsOnTheirStacks) {
  SceneRead read = readScene(std::string(kHeader) +
                             "Group { PointLight {} SpotLight {} PerspectiveCamera {} Scale {} MatrixTransform {}"
                             " RELmaterialPlanck {} RELmaterialRGB {} Normal {} NormalBinding {} ShapeHints {}"
                             " TextureCoordinate2 {} Texture2Transform {} MaterialBinding {} RELframe {}"
                             " Cube {} Sphere {} Info {} }");
  ASSERT_TRUE(read.ok) << read.errors;
  QvState state; // no conversion: only the state is kept
  read.root->traverse(state);
  EXPECT_EQ(RecordingConversion::stackOf(state, QvState::LightIndex), "SpotLight PointLight");
  EXPECT_EQ(RecordingConversion::stackOf(state, QvState::CameraIndex), "PerspectiveCamera");
  EXPECT_EQ(RecordingConversion::stackOf(state, QvState::TransformationIndex), "MatrixTransform Scale");
  EXPECT_EQ(RecordingConversion::stackOf(state, QvState::RELmaterialIndex), "RELmaterialRGB RELmaterialPlanck");
  const int untyped[] = {QvState::NormalIndex, QvState::NormalBindingIndex, QvState::ShapeHintsIndex,
                         QvState::TextureCoordinate2Index, QvState::Texture2TransformationIndex,
                         QvState::MaterialBindingIndex, QvState::RELframeIndex};
  for (int stack : untyped) EXPECT_EQ(RecordingConversion::stackOf(state, stack), "Unknown") << stack;
  EXPECT_EQ(state.getTopElement(QvState::NormalIndex)->data, dynamic_cast<QvGroup*>(read.root.get())->getChild(7));
  EXPECT_EQ(state.getTopElement(QvState::Coordinate3Index), nullptr);
}

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

TEST(TraversalState, EveryTransformNodePushesAnElementOfItsOwnType) {
  SceneRead read = readScene(std::string(kHeader) +
                             "Group { Transform {} Rotation {} MatrixTransform {} Translation {} Scale {} }");
  ASSERT_TRUE(read.root);
  QvState state;
  read.root->traverse(state);
  // Top down: the most recently pushed first.
  std::vector<int> types;
  std::vector<const char*> keywords;
  for (const QvElement& e : state.elements(QvState::TransformationIndex)) {
    types.push_back(e.type);
    keywords.push_back(e.data->getKeyword());
  }
  EXPECT_EQ(types, (std::vector<int>{QvElement::Scale, QvElement::Translation, QvElement::MatrixTransform,
                                     QvElement::Rotation, QvElement::Transform}));
  ASSERT_EQ(keywords.size(), 5u);
  EXPECT_STREQ(keywords[0], "Scale");
  EXPECT_STREQ(keywords[4], "Transform");
  // The typed accessor sees the top as its own class and nothing else.
  EXPECT_NE(state.topNode<QvScale>(QvState::TransformationIndex), nullptr);
  EXPECT_EQ(state.topNode<QvTranslation>(QvState::TransformationIndex), nullptr);
  EXPECT_EQ(state.topNode<QvCoordinate3>(QvState::Coordinate3Index), nullptr);
}
