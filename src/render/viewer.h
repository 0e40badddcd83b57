// The seam between the display manager and the flight controller: the
// look-around camera and the eye transform of one stereo eye. The frame's
// end (read-back, menu bar, buffer swap) belongs to the window, not to it.
#pragma once

namespace quillmere {

class Viewer {
public:
  virtual ~Viewer() = default;
  // OpenGL: the look-around camera behind the observer.
  virtual void applyLookAroundCamera() = 0;
  // OpenGL: turn by −angle degrees about y, then shift by −offset along x.
  virtual void applyEyeTransform(float angleDegrees, float offset) = 0;
  // How far the look-around camera stands from the observer's eye (scene units).
  virtual float cameraDistance() const { return 0; }
};

} // namespace quillmere
