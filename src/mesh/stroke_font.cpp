#include "mesh/stroke_font.h"

#include <cmath>
#include <cstring>

namespace quillmere {

namespace {

// Each glyph: strokes separated by blanks, each stroke its points as pairs
// of digits x y', with y' = y + 2 (so 2 is the baseline, 6 the top of a
// small letter, 8 the top of a capital, 0 the bottom of a descender).
const char* const kGlyphs[95] = {
    "",                                                  // space
    "2824 2223",                                         // !
    "1817 3837",                                         // "
    "1812 3832 0646 0444",                               // #
    "473818070615354443321203 2822",                     // $
    "0248 0807171808 3332424333",                        // %
    "420607182837360403122244",                          // &
    "2827",                                              // '
    "38272332",                                          // (
    "18272312",                                          // )
    "2723 0644 0446",                                    // *
    "2622 0444",                                         // +
    "222110",                                            // ,
    "0444",                                              // -
    "2223",                                              // .
    "0248",                                              // /
    "120307183847433212",                                // 0
    "172822 1232",                                       // 1
    "07183847460242",                                    // 2
    "07183847463515 354443321203",                       // 3
    "32380444",                                          // 4
    "480805354443321203",                                // 5
    "3818070312324344351504",                            // 6
    "084812",                                            // 7
    "180706153546473818 1504031232434435",               // 8
    "4435150607183847433212",                            // 9
    "2526 2223",                                         // :
    "2526 222110",                                       // ;
    "470543",                                            // <
    "0646 0444",                                         // =
    "074503",                                            // >
    "0718384746352524 2223",                             // ?
    "34361614344447381807031242",                        // @
    "022842 1535",                                       // A
    "02083847463505 3544433202",                         // B
    "4738180703123243",                                  // C
    "02082847432202",                                    // D
    "48080242 0535",                                     // E
    "480802 0535",                                       // F
    "47381807031232434525",                              // G
    "0802 4842 0545",                                    // H
    "1838 2822 1232",                                    // I
    "4843321203",                                        // J
    "0802 4804 2642",                                    // K
    "080242",                                            // L
    "0208254842",                                        // M
    "02084248",                                          // N
    "180703123243473818",                                // O
    "02083847463505",                                    // P
    "180703123243473818 2442",                           // Q
    "02083847463505 2542",                               // R
    "473818070615354443321203",                          // S
    "0848 2822",                                         // T
    "080312324348",                                      // U
    "082248",                                            // V
    "0812253248",                                        // W
    "0842 0248",                                         // X
    "082548 2522",                                       // Y
    "08480242",                                          // Z
    "38282131",                                          // [
    "0842",                                              // backslash
    "18282111",                                          // ]
    "062846",                                            // ^
    "0141",                                              // _
    "1827",                                              // `
    "16364542 441403123243",                             // a
    "0802 0516364543321203",                             // b
    "4536160503123243",                                  // c
    "4842 4536160503123243",                             // d
    "044445361605031242",                                // e
    "22273848 0636",                                     // f
    "46413010 4536160504133344",                         // g
    "0802 0516364542",                                   // h
    "2622 2827",                                         // i
    "36312010 3837",                                     // j
    "0802 4604 2542",                                    // k
    "18282332",                                          // l
    "0602 05162522 25364542",                            // m
    "0602 0516364542",                                   // n
    "160503123243453616",                                // o
    "0600 0516364543321203",                             // p
    "4640 4536160503123243",                             // q
    "0602 05163645",                                     // r
    "45361605143443321203",                              // s
    "27233242 1636",                                     // t
    "0603123243 4642",                                   // u
    "062246",                                            // v
    "0612243246",                                        // w
    "0642 0246",                                         // x
    "0622 461000",                                       // y
    "06460242",                                          // z
    "38272615242332",                                    // {
    "2820",                                              // |
    "18272635242312",                                    // }
    "0516253445",                                        // ~
};

constexpr float kUnitsPerSize = 8.0f; // descender bottom to capital top
constexpr float kAdvance = 5.5f;      // units from one character to the next
constexpr float kItalicLean = 0.2f;   // x per unit of height

const char* glyphOf(unsigned char c) { return c >= 32 && c < 127 ? kGlyphs[c - 32] : ""; }

} // namespace

float lineWidth(const std::string& line, float size) { return float(line.size()) * kAdvance * size / kUnitsPerSize; }

TextStrokes layOutText(const std::vector<std::string>& lines, const TextLayout& layout, std::size_t maxPoints) {
  TextStrokes text;
  const float unit = layout.size / kUnitsPerSize;
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const std::string& line = lines[l];
    const float natural = lineWidth(line, layout.size);
    const float wanted = l < layout.widths.size() && layout.widths[l] > 0.0f ? layout.widths[l] : natural;
    const float stretch = natural > 0.0f ? wanted / natural : 1.0f;
    float start = 0.0f;
    if (layout.justification == TextJustification::Centre) start = -0.5f * wanted;
    if (layout.justification == TextJustification::Right) start = -wanted;
    const float baseline = -float(l) * layout.spacing * layout.size;
    for (std::size_t c = 0; c < line.size(); ++c) {
      const float left = float(c) * kAdvance;
      const char* glyph = glyphOf(static_cast<unsigned char>(line[c]));
      if (text.points.size() + std::strlen(glyph) / 2 > maxPoints) {
        text.complete = false;
        return text;
      }
      bool inStroke = false;
      for (const char* p = glyph; *p; ++p) {
        if (*p == ' ') {
          text.coordIndex.push_back(-1);
          inStroke = false;
          continue;
        }
        const float gx = left + float(p[0] - '0'), gy = float(p[1] - '0') - 2.0f;
        ++p;
        const float x = start + stretch * unit * (gx + (layout.italic ? kItalicLean * gy : 0.0f));
        text.coordIndex.push_back(std::int32_t(text.points.size()));
        text.points.push_back({x, baseline + unit * gy, 0.0f});
        inStroke = true;
      }
      if (inStroke) text.coordIndex.push_back(-1);
    }
  }
  return text;
}

} // namespace quillmere
