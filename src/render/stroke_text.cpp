#include "render/stroke_text.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cmath>
#include <cstdio>

// freeglut's font table for GLUT_STROKE_MONO_ROMAN, exported by libglut
// with C linkage. Its layout is freeglut's (3.x) and is checked before use.
namespace freeglut_font {
struct StrokeVertex {
  GLfloat x, y;
};
struct StrokeStrip {
  int count;
  const StrokeVertex* vertices;
};
struct StrokeCharacter {
  GLfloat advance;
  int count;
  const StrokeStrip* strips;
};
struct StrokeFont {
  char* name;
  int characterCount;
  GLfloat height;
  const StrokeCharacter** characters;
};
} // namespace freeglut_font

extern "C" freeglut_font::StrokeFont fgStrokeMonoRoman;

namespace quillmere {

namespace {

constexpr float kMonoRomanHeight = 152.381f; // glutStrokeHeight(GLUT_STROKE_MONO_ROMAN)

// The table is what it should be: the printable characters and the font's height.
bool fontTableUsable() {
  static const bool usable = [] {
    const freeglut_font::StrokeFont& font = fgStrokeMonoRoman;
    bool ok = font.characterCount >= 128 && font.characterCount <= 256 && font.characters &&
              std::fabs(font.height - kMonoRomanHeight) < 0.01f;
    if (!ok) std::fprintf(stderr, "Status bar: freeglut's stroke font table is not as expected; no text drawn\n");
    return ok;
  }();
  return usable;
}

void drawFromTable(unsigned char c) {
  if (!fontTableUsable() || c >= fgStrokeMonoRoman.characterCount) return;
  const freeglut_font::StrokeCharacter* character = fgStrokeMonoRoman.characters[c];
  if (!character) return;
  for (int i = 0; i < character->count; ++i) {
    const freeglut_font::StrokeStrip& strip = character->strips[i];
    glBegin(GL_LINE_STRIP);
    for (int j = 0; j < strip.count; ++j) glVertex2f(strip.vertices[j].x, strip.vertices[j].y);
    glEnd();
  }
  glTranslatef(character->advance, 0.0f, 0.0f);
}

} // namespace

void drawMonoRomanCharacter(char c) {
  if (glutGet(GLUT_INIT_STATE))
    glutStrokeCharacter(GLUT_STROKE_MONO_ROMAN, c);
  else
    drawFromTable(static_cast<unsigned char>(c));
}

} // namespace quillmere
