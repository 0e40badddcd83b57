#include "gl_test_window.h"

#include "gl/egl_context.h"
#include "gl/gl_driver.h"
#include "gl/offscreen_framebuffer.h"

#include "png_file.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace quillmere::test {

namespace {

// Without a display: an EGL context and an offscreen picture of the window's size.
EglContext* eglContext = nullptr;
OffscreenFramebuffer* offscreen = nullptr;

bool openOffscreen() {
  static bool tried = false, opened = false;
  if (tried) return opened;
  tried = true;
  eglContext = new EglContext; // for the life of the process, as a window is
  offscreen = new OffscreenFramebuffer;
  std::string error;
  opened = eglContext->create(error) && offscreen->create(kGLTestSize, kGLTestSize, error);
  keepGLDriverLoaded();
  if (!opened) std::fprintf(stderr, "no display, and no EGL: %s\n", error.c_str());
  return opened;
}

} // namespace

bool openGLTestWindow() {
  static int window = 0;
  if (window) return true;
  if (!std::getenv("DISPLAY")) return openOffscreen();
  int argc = 1;
  char name[] = "display_gl_tests";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
  glutInitWindowSize(kGLTestSize, kGLTestSize);
  window = glutCreateWindow("Quillmere GL test");
  keepGLDriverLoaded();
  if (!window) return false;
  // The window is mapped and sized only once the X server's events are
  // handled; pixels drawn before that may not be kept. Wait for the first
  // expose (freeglut posts a redisplay for it), at most about a second.
  static bool exposed = false;
  glutDisplayFunc([] { exposed = true; });
  for (int i = 0; i < 100 && !exposed; ++i) {
    glutMainLoopEvent();
    if (!exposed) usleep(10000);
  }
  return true;
}

Frame Frame::readBack() {
  Frame frame;
  frame.rgb_.resize(std::size_t(3 * kGLTestSize * kGLTestSize));
  glFinish();
  if (offscreen) {
    offscreen->readBottomRowFirst(frame.rgb_);
    return frame;
  }
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kGLTestSize, kGLTestSize, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb_.data());
  return frame;
}

Pixel Frame::at(int x, int y) const {
  const std::uint8_t* p = &rgb_[std::size_t(3 * (y * kGLTestSize + x))];
  return {p[0], p[1], p[2]};
}

bool Frame::centroidOfDrawn(Pixel background, float& x, float& y, int rowFrom, int rowTo) const {
  double sumX = 0, sumY = 0;
  long count = 0;
  for (int row = rowFrom; row < rowTo; ++row)
    for (int column = 0; column < kGLTestSize; ++column) {
      Pixel p = at(column, row);
      if (p.r == background.r && p.g == background.g && p.b == background.b) continue;
      sumX += column + 0.5;
      sumY += row + 0.5;
      ++count;
    }
  if (count == 0) return false;
  x = float(sumX / double(count));
  y = float(sumY / double(count));
  return true;
}

void Frame::saveForInspection(const std::string& name) const {
  const char* folder = std::getenv("QUILLMERE_TEST_IMAGES");
  if (!folder) return;
  std::vector<std::uint8_t> topRowFirst;
  for (int row = kGLTestSize - 1; row >= 0; --row) {
    const std::uint8_t* line = &rgb_[std::size_t(3 * row * kGLTestSize)];
    topRowFirst.insert(topRowFirst.end(), line, line + 3 * kGLTestSize);
  }
  writePng(std::string(folder) + "/" + name + ".png", kGLTestSize, kGLTestSize, 3, topRowFirst);
}

} // namespace quillmere::test
