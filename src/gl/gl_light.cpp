#include "gl/gl_light.h"

#include <GL/gl.h>

namespace quillmere {

void DvGLLight::scaledColour(float (&rgba)[4]) const {
  rgba[0] = colour_.x * intensity_;
  rgba[1] = colour_.y * intensity_;
  rgba[2] = colour_.z * intensity_;
  rgba[3] = 1.0f;
}

void DvGLLight::apply(int lightNumber) const {
  if (!on_) return;
  GLenum light = GL_LIGHT0 + GLenum(lightNumber);
  const float position[4] = {direction_.x, direction_.y, direction_.z, 0.0f};
  float rgba[4];
  scaledColour(rgba);
  glLightfv(light, GL_POSITION, position);
  glLightfv(light, GL_DIFFUSE, rgba);
  glLightfv(light, GL_SPECULAR, rgba);
  // A scene light has colour and intensity only: the ambient term of a face
  // comes from its material's ambient colour and the global ambient.
  const float noAmbient[4] = {0, 0, 0, 1};
  glLightfv(light, GL_AMBIENT, noAmbient);
  glEnable(light);
}

} // namespace quillmere
