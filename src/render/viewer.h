// The seam between the display manager and the window side: the look-around
// camera, the eye transform of one stereo eye, and the buffer swap.
#pragma once

namespace quillmere {

class Viewer {
public:
  virtual ~Viewer() = default;
  // OpenGL: the look-around camera behind the observer.
  virtual void applyLookAroundCamera() = 0;
  // OpenGL: turn by −angle degrees about y, then shift by −offset along x.
  virtual void applyEyeTransform(float angleDegrees, float offset) = 0;
  virtual void swapBuffers() = 0;
  // How far the look-around camera stands from the observer's eye (scene units).
  virtual float cameraDistance() const { return 0; }
};

} // namespace quillmere
