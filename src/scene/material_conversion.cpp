#include "scene/material_conversion.h"

#include "vrml/property_nodes.h"

#include <algorithm>

namespace quillmere {

namespace {

Vector3 vec3(const float (&value)[3]) { return Vector3(value[0], value[1], value[2]); }

// The number of values the file gave a field; 0 when it gave none.
template <typename Field>
int givenCount(const Field& field) {
  return field.isDefault() ? 0 : field.num;
}

// Value i of a colour field that has it, else the shape's colour.
Vector3 colourAt(const QvMFColor& field, int i, const Vector3& shapeColour) {
  return i < givenCount(field) ? vec3(field.values[i]) : shapeColour;
}

} // namespace

std::unique_ptr<DvMaterial> materialFromNode(const ownMaterial& node) {
  auto material = std::make_unique<DvMaterial>();
  const QvMFColor* colours[4] = {&node.ambientColor, &node.diffuseColor, &node.specularColor, &node.emissiveColor};
  for (int field = DvMaterial::Ambient; field <= DvMaterial::Emissive; ++field) {
    const QvMFColor& colour = *colours[field];
    if (givenCount(colour) > 0) material->setColour(DvMaterial::Field(field), vec3(colour.values[0]));
    material->setIgnored(DvMaterial::Field(field), colour.isIgnored());
  }
  if (givenCount(node.shininess) > 0) material->setShininess(node.shininess.values[0]);
  material->setIgnored(DvMaterial::Shininess, node.shininess.isIgnored());
  if (givenCount(node.transparency) > 0) material->setTransparency(node.transparency.values[0]);
  material->setIgnored(DvMaterial::Transparency, node.transparency.isIgnored());
  return material;
}

std::vector<VertexMaterial> materialPalette(const ownMaterial& node) {
  const int count = std::max({givenCount(node.ambientColor), givenCount(node.diffuseColor),
                              givenCount(node.specularColor), givenCount(node.emissiveColor),
                              givenCount(node.transparency)});
  std::vector<VertexMaterial> palette;
  if (count < 2) return palette;
  const std::unique_ptr<DvMaterial> shape = materialFromNode(node);
  const DvMaterial& shapeMaterial = *shape;
  palette.resize(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    VertexMaterial& entry = palette[std::size_t(i)];
    entry.ambient = colourAt(node.ambientColor, i, shapeMaterial.ambientColour());
    entry.diffuse = colourAt(node.diffuseColor, i, shapeMaterial.diffuseColour());
    entry.specular = colourAt(node.specularColor, i, shapeMaterial.specularColour());
    entry.emissive = colourAt(node.emissiveColor, i, shapeMaterial.emissiveColour());
    entry.transparency =
        i < givenCount(node.transparency) ? node.transparency.values[i] : shapeMaterial.transparency();
  }
  return palette;
}

} // namespace quillmere
