#include "mesh/stroke_font.h"

#include "../support/converted_scene.h"
#include "display/indexed_line_set.h"

#include <gtest/gtest.h>

namespace quillmere::test {
namespace {

// The strokes of the text as lists of (x, y) points.
std::vector<std::vector<std::array<float, 2>>> strokesOf(const TextStrokes& text) {
  std::vector<std::vector<std::array<float, 2>>> strokes(1);
  for (std::int32_t index : text.coordIndex) {
    if (index < 0) {
      strokes.emplace_back();
      continue;
    }
    const auto& p = text.points[std::size_t(index)];
    EXPECT_EQ(p[2], 0.0f);
    strokes.back().push_back({p[0], p[1]});
  }
  if (strokes.back().empty()) strokes.pop_back();
  return strokes;
}

TEST(StrokeFont, LaysOutLinesByJustificationSpacingAndWidth) {
  // Size 8: one grid unit per scene unit, an advance of 5.5; the capital I is
  // a top bar (x 1 to 3 at height 6), a stem at x 2 and a foot bar.
  TextLayout layout;
  layout.size = 8;
  auto strokes = strokesOf(layOutText({"I"}, layout));
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_EQ(strokes[0], (std::vector<std::array<float, 2>>{{1, 6}, {3, 6}}));
  EXPECT_EQ(strokes[1], (std::vector<std::array<float, 2>>{{2, 6}, {2, 0}}));
  EXPECT_EQ(strokes[2], (std::vector<std::array<float, 2>>{{1, 0}, {3, 0}}));

  // Right-justified "II" ends at x = 0: it starts at −11. The second line,
  // spacing 1.5, has its baseline at −1.5 · 8 = −12 and is centred.
  layout.justification = TextJustification::Right;
  strokes = strokesOf(layOutText({"II"}, layout));
  ASSERT_EQ(strokes.size(), 6u);
  EXPECT_EQ(strokes[0][0], (std::array<float, 2>{-10, 6}));
  EXPECT_EQ(strokes[3][0], (std::array<float, 2>{-4.5f, 6}));
  layout.justification = TextJustification::Centre;
  layout.spacing = 1.5f;
  strokes = strokesOf(layOutText({"", "I"}, layout));
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_EQ(strokes[1][1], (std::array<float, 2>{2 - 2.75f, -12}));

  // A width stretches the line along x only: "II" to 22 doubles every x.
  layout = TextLayout();
  layout.size = 8;
  layout.widths = {22};
  strokes = strokesOf(layOutText({"II"}, layout));
  EXPECT_EQ(strokes[3][0], (std::array<float, 2>{2 * (5.5f + 1), 6}));
  EXPECT_FLOAT_EQ(lineWidth("II", 8), 11.0f);

  // Blanks and characters outside the printable range advance without strokes.
  layout = TextLayout();
  layout.size = 8;
  strokes = strokesOf(layOutText({" \x01I"}, layout));
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_EQ(strokes[0][0], (std::array<float, 2>{11 + 1, 6}));
}

TEST(StrokeFont, AsciiTextBecomesALineSetInTheFontInForce) {
  // FontStyle size 16: two scene units per grid unit; the Translation moves
  // the text; the Material in force colours it.
  ConvertedScene scene = convert("Separator { Translation { translation 0 0 5 } Material { diffuseColor 1 0 0 } "
                                 "FontStyle { size 16 } AsciiText { string \"I\" } }");
  ASSERT_TRUE(scene.result.ok);
  EXPECT_EQ(scene.result.summary.lineSets, 1);
  EXPECT_EQ(scene.result.summary.lineVertices, 6);
  auto* text = childAs<DvIndexedLineSet>(*scene.root, kFirstConverted);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(text->material(), nullptr);
  const Vector3& top = text->vertices()[text->indices()[0]].position;
  EXPECT_FLOAT_EQ(top.x, 2);
  EXPECT_FLOAT_EQ(top.y, 12);
  EXPECT_FLOAT_EQ(top.z, 5);

  // Past the vertex budget the text is refused whole, laid out no further ("I" has 6 points).
  ConvertedScene tooLong = convert("Separator { AsciiText { string \"II\" } }", 8);
  EXPECT_EQ(tooLong.result.summary.lineSets, 0);
  EXPECT_NE(tooLong.output.find("more than 8 display vertices"), std::string::npos) << tooLong.output;
  TextLayout layout;
  const TextStrokes cut = layOutText({"II"}, layout, 8);
  EXPECT_FALSE(cut.complete);
  EXPECT_EQ(cut.points.size(), 6u);
}

} // namespace
} // namespace quillmere::test
