#include "display/material.h"

#include "diagnostics/diagnostics.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <GL/gl.h>
#include <algorithm>

namespace quillmere {

namespace {

constexpr float kMaxSpecularExponent = 128.0f; // OpenGL's largest GL_SHININESS

const GLenum kColourParameter[4] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};

void sendColour(GLenum parameter, const Vector3& rgb, float factor, float alpha) {
  const float rgba[4] = {factor * rgb.x, factor * rgb.y, factor * rgb.z, alpha};
  glMaterialfv(GL_FRONT_AND_BACK, parameter, rgba);
}

} // namespace

DvMaterial::DvMaterial() {
  resetToDefaults();
  for (int& flag : ignored_) flag = 1;
}

void DvMaterial::resetToDefaults() {
  colours_[Ambient] = Vector3(0.2f, 0.2f, 0.2f);
  colours_[Diffuse] = Vector3(0.8f, 0.8f, 0.8f);
  colours_[Specular] = Vector3(0, 0, 0);
  colours_[Emissive] = Vector3(0, 0, 0);
  shininess_ = 0.2f;
  transparency_ = 0.0f;
  for (int& flag : ignored_) flag = 0;
}

void DvMaterial::setColour(Field field, const Vector3& rgb) {
  if (field >= Ambient && field <= Emissive) colours_[field] = rgb;
}

void DvMaterial::renderScaled(float factor) const {
  for (int field = Ambient; field <= Emissive; ++field)
    if (!ignored_[field]) sendColour(kColourParameter[field], colours_[field], factor, transparency_);
}

void DvMaterial::renderVertex(const VertexMaterial& vertex, float factor) const {
  const Vector3* colours[4] = {&vertex.ambient, &vertex.diffuse, &vertex.specular, &vertex.emissive};
  for (int field = Ambient; field <= Emissive; ++field)
    if (!ignored_[field]) sendColour(kColourParameter[field], *colours[field], factor, vertex.transparency);
}

void DvMaterial::render(const DvRenderState&, const DrawPass& pass) {
  if (glGetError() != GL_NO_ERROR) printWarning("Error before render/material\n");
  switch (pass.style) {
  case RenderStyle::Textured:
  case RenderStyle::Untextured:
    renderScaled(1.0f);
    if (!ignored_[Shininess]) {
      // VRML's shininess 0..1 spans OpenGL's specular exponents 0..128: a
      // small exponent would spread the highlight over the whole face.
      const float exponent = std::clamp(shininess_, 0.0f, 1.0f) * kMaxSpecularExponent;
      glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, exponent);
    }
    // Blending follows the stored transparency even where it is ignored.
    if (transparency_ <= 0.001f)
      glDisable(GL_BLEND);
    else
      glEnable(GL_BLEND);
    break;
  case RenderStyle::Wireframe:
  case RenderStyle::Outline: {
    const Vector3& d = colours_[Diffuse];
    const float rgba[4] = {d.x, d.y, d.z, transparency_};
    glColor4fv(rgba);
    break;
  }
  case RenderStyle::HiddenLine:
    break;
  default:
    printWarning("Error in render(): Unknown render style\n");
  }
  if (glGetError() != GL_NO_ERROR) printWarning("Error after render/material\n");
}

} // namespace quillmere
