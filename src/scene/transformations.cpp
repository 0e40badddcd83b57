#include "scene/transformations.h"

#include "diagnostics/diagnostics.h"
#include "vrml/state.h"
#include "vrml/transform_nodes.h"

namespace quillmere {

namespace {

Vector3 vec3(const float (&value)[3]) { return Vector3(value[0], value[1], value[2]); }

Matrix4 rotationOf(const QvSFRotation& rotation) {
  return Matrix4::rotation(rotation.axis[0], rotation.axis[1], rotation.axis[2], rotation.angle);
}

// T·C·R·SR·S·SR⁻¹·C⁻¹: scale about the centre in the scale orientation,
// rotate about the centre, then translate.
Matrix4 transformMatrix(const QvTransform& node) {
  Matrix4 m;
  Vector3 centre = vec3(node.center.value);
  const QvSFRotation& orientation = node.scaleOrientation;
  m.postMultiply(Matrix4::translation(vec3(node.translation.value)));
  m.postMultiply(Matrix4::translation(centre));
  m.postMultiply(rotationOf(node.rotation));
  m.postMultiply(rotationOf(orientation));
  m.postMultiply(Matrix4::scaling(vec3(node.scaleFactor.value)));
  m.postMultiply(Matrix4::rotation(orientation.axis[0], orientation.axis[1], orientation.axis[2], -orientation.angle));
  m.postMultiply(Matrix4::translation(-centre));
  return m;
}

// The sixteen numbers in file order fill the matrix in index order, so the
// file's last row is the translation.
Matrix4 matrixTransformMatrix(const QvMatrixTransform& node) { return Matrix4::fromValues(&node.matrix.value[0][0]); }

} // namespace

Matrix4 buildTransformation(const QvElement& element) {
  switch (element.type) {
  case QvElement::NoOpTransform:
    return Matrix4::identity();
  case QvElement::MatrixTransform:
    if (auto* node = element.nodeAs<QvMatrixTransform>()) return matrixTransformMatrix(*node);
    break;
  case QvElement::Rotation:
    if (auto* node = element.nodeAs<QvRotation>()) return rotationOf(node->rotation);
    break;
  case QvElement::Scale:
    if (auto* node = element.nodeAs<QvScale>()) return Matrix4::scaling(vec3(node->scaleFactor.value));
    break;
  case QvElement::Translation:
    if (auto* node = element.nodeAs<QvTranslation>()) return Matrix4::translation(vec3(node->translation.value));
    break;
  case QvElement::Transform:
    if (auto* node = element.nodeAs<QvTransform>()) return transformMatrix(*node);
    break;
  default:
    break;
  }
  printWarning("Unkown transformation node type\n");
  return Matrix4::identity();
}

Matrix4 buildTextureTransformation(const QvElement& element) {
  Matrix4 m;
  const auto* node = element.nodeAs<QvTexture2Transform>();
  if (!node) return m;
  const float* centre = node->center.value;
  m.postMultiply(Matrix4::translation(centre[0], centre[1], 0));
  m.postMultiply(Matrix4::translation(node->translation.value[0], node->translation.value[1], 0));
  m.postMultiply(Matrix4::rotation(0, 0, 1, node->rotation.value));
  m.postMultiply(Matrix4::scaling(node->scaleFactor.value[0], node->scaleFactor.value[1], 1));
  m.postMultiply(Matrix4::translation(-centre[0], -centre[1], 0));
  return m;
}

Matrix4 modellingMatrix(const QvState& state) {
  Matrix4 m;
  for (const QvElement& element : state.elements(QvState::TransformationIndex))
    m.preMultiply(buildTransformation(element));
  return m;
}

Matrix4 textureMatrix(const QvState& state) {
  Matrix4 m;
  for (const QvElement& element : state.elements(QvState::Texture2TransformationIndex))
    m.preMultiply(buildTextureTransformation(element));
  return m;
}

} // namespace quillmere
