// Text as strokes: a font of our own for the printable ASCII characters,
// each glyph a few straight strokes, laid out as AsciiText lays out lines.
// The strokes become a line set, so text moves for the observer like any
// other line, every stroke end a vertex.
//
// Glyphs stand on a grid 4 units wide: the baseline at 0, small letters 4
// high, capitals and digits 6, descenders to −2. The font size is the
// height from the lowest descender to the top of a capital (8 units), and a
// character advances 5.5 units. Characters outside the printable range
// advance without strokes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillmere {

enum class TextJustification { Left, Centre, Right };

struct TextLayout {
  float size = 10.0f;       // font size, scene units
  float spacing = 1.0f;     // baseline to baseline, in multiples of the size
  TextJustification justification = TextJustification::Left;
  bool italic = false;      // strokes lean forwards by 1 in 5
  std::vector<float> widths; // per line, the width to stretch it to; 0 or missing: its own width
};

struct TextStrokes {
  std::vector<std::array<float, 3>> points; // in the text's plane z = 0
  std::vector<std::int32_t> coordIndex;     // one strip per stroke, each ended by -1
  bool complete = true;                     // false: stopped at the point limit
};

// The strokes of each line, the first line's baseline on y = 0 and each
// next line `spacing · size` lower; a line starts at x = 0 (Left), is
// centred on it (Centre) or ends there (Right). Stops, not complete, before
// the character that would take the points past `maxPoints` (a text too
// long to draw cannot take all memory first).
TextStrokes layOutText(const std::vector<std::string>& lines, const TextLayout& layout,
                       std::size_t maxPoints = std::size_t(-1));

// The natural width of a line, in scene units.
float lineWidth(const std::string& line, float size);

} // namespace quillmere
