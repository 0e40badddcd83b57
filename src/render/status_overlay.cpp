#include "render/status_overlay.h"

#include "render/stroke_text.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

namespace quillmere {

std::string StatusOverlay::piece(int index) const {
  char buffer[96];
  switch (index) {
  case 0: return "v:";
  case 1: std::snprintf(buffer, sizeof buffer, "%2.3f", double(speed)); break;
  case 2: return "  t:";
  case 3: std::snprintf(buffer, sizeof buffer, "%3.1f", double(time)); break;
  case 4: return "  O:";
  case 5:
    std::snprintf(buffer, sizeof buffer, "(%3.1f,%3.1f,%3.1f,%3.1f)", double(event.x), double(event.y),
                  double(event.z), double(event.t));
    break;
  case 6: return "  a:";
  case 7: std::snprintf(buffer, sizeof buffer, "(%2.2f,%2.2f)", double(acceleration), double(turnRate)); break;
  case 8: return "  frame:";
  case 9: std::snprintf(buffer, sizeof buffer, "%5d", frameNumber); break;
  default: return "";
  }
  return buffer;
}

std::string StatusOverlay::exposurePiece() const {
  if (!showExposure) return "";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "  EV %.1f", double(exposureEv));
  return buffer;
}

std::string StatusOverlay::text() const {
  std::string line;
  for (int i = 0; i < kPieces; ++i) line += piece(i);
  return line + exposurePiece();
}

namespace {

// Strokes of one pixel lose the decimal points of small windows (a point is
// a loop under a pixel across): the width grows with the viewport's height,
// from 1.5 pixels at 375 and below to 3 at 750 and above.
float strokeWidthPixels() {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  return std::clamp(float(viewport[3]) / 250.0f, 1.5f, 3.0f);
}

} // namespace

void StatusOverlay::draw() const {
  glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT);
  glLineWidth(strokeWidthPixels());
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, 5000, 0, 5000, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  glColor4fv(barColour);
  glRectf(0, 0, 5000, 200);
  glTranslatef(50, 45, 0);
  glScalef(0.6f, 1, 1);
  // Every stroke character advances the modelview matrix by its width, so
  // the pieces follow one another.
  for (int i = 0; i < kPieces; ++i) {
    glColor4fv(i % 2 == 0 ? labelColour : valueColour);
    for (char c : piece(i)) drawMonoRomanCharacter(c);
  }
  glColor4fv(labelColour);
  for (char c : exposurePiece()) drawMonoRomanCharacter(c);

  glPopAttrib();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

} // namespace quillmere
