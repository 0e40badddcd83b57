// An offscreen picture to draw into instead of a window: a framebuffer
// object with an 8-bit sRGB colour texture and a 24-bit depth, 8-bit
// stencil buffer (hidden-line needs the stencil), and the floating-point
// sum for accumulation passes beside it. Needs a current OpenGL context of
// version 3.0 or later (framebuffer objects, float textures); the
// compatibility profile's fixed-function calls draw into it as into a window.
// Its rows are stored top row first, as Mesa stores a window's: glReadPixels
// delivers the top row first.
#pragma once

#include "gl/accumulation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere {

class OffscreenFramebuffer : public Accumulation {
public:
  OffscreenFramebuffer() = default;
  ~OffscreenFramebuffer() override;
  OffscreenFramebuffer(const OffscreenFramebuffer&) = delete;
  OffscreenFramebuffer& operator=(const OffscreenFramebuffer&) = delete;

  // Creates the buffers and binds the framebuffer for drawing and reading.
  // False, with the reason in `error`, when the driver refuses them.
  bool create(int width, int height, std::string& error);
  // Binds the picture for drawing and reading (after another framebuffer was used).
  void bind() const;
  // Reads the whole picture as RGB, bottom row first as glReadPixels gives a window's.
  void readBottomRowFirst(std::vector<std::uint8_t>& rgb) const;

  // Accumulation in a 32-bit float RGBA texture, in linear light: each pass
  // is decoded from sRGB as it is read and added with blending as a
  // textured rectangle scaled by its weight; the sum is encoded back.
  void clear() override;
  void add(float weight) override;
  void writeBack() override;

  int width() const { return width_; }
  int height() const { return height_; }

private:
  // Draws `texture` over the whole target with colour `weight`, blending
  // added when `additive`; every state it touches is restored.
  void drawTexture(unsigned texture, float weight, bool additive) const;
  bool createSum(std::string& error);

  int width_ = 0, height_ = 0;
  unsigned framebuffer_ = 0;       // the picture: colour texture + depth/stencil
  unsigned colour_ = 0;            // SRGB8_ALPHA8 texture
  unsigned depthStencil_ = 0;      // renderbuffer
  unsigned sumFramebuffer_ = 0;    // the accumulation sum, created at its first use
  unsigned sum_ = 0;               // RGBA32F texture
};

} // namespace quillmere
