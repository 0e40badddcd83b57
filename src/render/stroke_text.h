// GLUT's mono-spaced Roman stroke characters, the status bar's font. In a
// window freeglut draws them; offscreen (EGL, no glutInit, which needs an X
// display) the same strokes are drawn here from freeglut's own font table,
// so a picture does not depend on how it was made.
#pragma once

namespace quillmere {

// Draws `c` at the origin in GLUT's stroke units (a capital is about 120
// high) and moves the modelview matrix on by the character's width, as
// glutStrokeCharacter(GLUT_STROKE_MONO_ROMAN, c) does.
void drawMonoRomanCharacter(char c);

} // namespace quillmere
