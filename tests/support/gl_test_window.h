// An OpenGL context for the drawing tests: one small double-buffered GLUT
// window per process (under Xvfb on a machine without a screen), or, with no
// display, an offscreen picture of the same size through EGL; frames read
// back, and PNG snapshots for a person to look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere::test {

constexpr int kGLTestSize = 200; // window width and height in pixels

// True when a context is current; false (the test should skip) with neither a display nor EGL.
bool openGLTestWindow();

struct Pixel {
  int r, g, b;
};

// The back buffer after drawing, bottom row first as OpenGL reads it.
class Frame {
public:
  static Frame readBack();
  Pixel at(int x, int y) const; // y counts from the bottom
  // Mean position of the pixels in rows [rowFrom, rowTo) that differ from the background colour; false when none.
  bool centroidOfDrawn(Pixel background, float& x, float& y, int rowFrom = 0, int rowTo = kGLTestSize) const;
  // Writes a PNG (top row first) when QUILLMERE_TEST_IMAGES names a folder.
  void saveForInspection(const std::string& name) const;

private:
  std::vector<std::uint8_t> rgb_; // kGLTestSize² pixels, bottom row first
};

} // namespace quillmere::test
