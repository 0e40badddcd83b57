// The OpenGL material of a shape (or the scene root's default material): RGB
// colours in 0..1, shininess in 0..1 as the file gives it (OpenGL receives
// 128 times it as the specular exponent), transparency in 0..1. A field
// whose ignore flag is set is never sent to OpenGL.
#pragma once

#include "display/display_node.h"
#include "mesh/vertex_material.h"

namespace quillmere {

class DvMaterial : public DvNode {
public:
  enum Field { Ambient, Diffuse, Specular, Emissive, Shininess, Transparency, NumFields };

  // The defaults with every ignore flag set.
  DvMaterial();

  // Every value to its default and every ignore flag cleared (the scene root's material).
  void resetToDefaults();

  void setColour(Field field, const Vector3& rgb); // Ambient .. Emissive
  void setShininess(float shininess) { shininess_ = shininess; }
  void setTransparency(float transparency) { transparency_ = transparency; }
  void setIgnored(Field field, bool ignored) { ignored_[field] = ignored ? 1 : 0; }
  bool isIgnored(Field field) const { return ignored_[field] != 0; }

  const Vector3& ambientColour() const { return colours_[Ambient]; }
  const Vector3& diffuseColour() const { return colours_[Diffuse]; }
  const Vector3& specularColour() const { return colours_[Specular]; }
  const Vector3& emissiveColour() const { return colours_[Emissive]; }
  float shininess() const { return shininess_; }
  float transparency() const { return transparency_; }

  // The colours that are not ignored, each scaled by f, with the stored
  // transparency as alpha; shininess and blending are left alone. Used per
  // vertex by the shapes for the area-ratio brightness.
  void renderScaled(float factor) const;
  // The same for one vertex's own material: its colours where this
  // material's are not ignored, scaled by f, with its transparency as alpha.
  void renderVertex(const VertexMaterial& vertex, float factor) const;

  void render(const DvRenderState& state, const DrawPass& pass) override;
  int getType() const override { return MaterialType; }

private:
  Vector3 colours_[4];     // ambient, diffuse, specular, emissive
  float shininess_;        // 0..1, as the file gives it
  float transparency_;     // 0 opaque; also the alpha of every colour sent
  int ignored_[NumFields]; // flags, in the order of Field
};

} // namespace quillmere
