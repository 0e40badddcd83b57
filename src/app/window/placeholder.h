// What the program shows without a scene: a lit cube eight units in front
// of the eye, +x face red, -x green, the others blue.
#pragma once

namespace quillmere {

// Clears the colour and depth buffers and draws the cube with the current projection.
void drawPlaceholderCube();

} // namespace quillmere
