// Where a frame's accumulation passes (antialiasing, depth of field, motion
// blur) are summed: OpenGL's accumulation buffer in a window, a
// floating-point framebuffer object when drawing offscreen (EGL configs
// have no accumulation buffer). Both take the whole colour buffer, as
// glAccum does, not only the viewport.
#pragma once

namespace quillmere {

class Accumulation {
public:
  virtual ~Accumulation() = default;
  // Sets the sum to zero (glClear of the accumulation buffer).
  virtual void clear() = 0;
  // Adds weight × the colour buffer just drawn (glAccum GL_ACCUM).
  virtual void add(float weight) = 0;
  // Writes the sum, clamped to [0, 1], into the colour buffer (glAccum GL_RETURN, 1).
  virtual void writeBack() = 0;
};

// OpenGL's accumulation buffer of the window.
class AccumulationBuffer : public Accumulation {
public:
  void clear() override;
  void add(float weight) override;
  void writeBack() override;
};

} // namespace quillmere
