// A directional OpenGL light of the render state. Its direction points
// towards the light and is given in the coordinates of the modelview matrix
// current when the light is applied.
#pragma once

#include "relativity/vector.h"

namespace quillmere {

class DvGLLight {
public:
  // A light that is on sets OpenGL light `lightNumber` (0..7) as a directional
  // light with diffuse and specular colour·intensity and no ambient term (as a
  // VRML light), and enables it.
  // A light that is off changes nothing: it is not disabled.
  void apply(int lightNumber) const;

  void setColour(float red, float green, float blue) { colour_ = Vector3(red, green, blue); }
  void setDirection(float x, float y, float z) { direction_ = Vector3(x, y, z); }
  void setOn(int on) { on_ = on; }
  void setIntensity(float intensity) { intensity_ = intensity; }

  int on() const { return on_; }
  float intensity() const { return intensity_; }
  const Vector3& colour() const { return colour_; }
  const Vector3& direction() const { return direction_; }

  // The colour OpenGL receives for diffuse and specular alike.
  void scaledColour(float (&rgba)[4]) const;

private:
  int on_ = 1;                  // flag
  float intensity_ = 1.0f;      // scales the colour
  Vector3 colour_{1, 1, 1};     // RGB in 0..1
  Vector3 direction_{1, 0, 0};  // towards the light; w = 0 makes it directional
};

} // namespace quillmere
