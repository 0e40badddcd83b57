#include "vrml/transform_nodes.h"

#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvMatrixTransform::table_;
QvFieldTable QvRotation::table_;
QvFieldTable QvScale::table_;
QvFieldTable QvTransform::table_;
QvFieldTable QvTranslation::table_;
QvFieldTable QvTexture2Transform::table_;

namespace {

void setNoRotation(QvSFRotation& rotation) {
  qvSetVec3(rotation.axis, 0, 0, 1);
  rotation.angle = 0;
}

} // namespace

QvMatrixTransform::QvMatrixTransform() {
  QvFieldSetup setup(this, table_);
  setup.field("matrix", matrix);
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) matrix.value[row][column] = row == column ? 1.0f : 0.0f;
}

QvRotation::QvRotation() {
  QvFieldSetup setup(this, table_);
  setup.field("rotation", rotation);
  setNoRotation(rotation);
}

QvScale::QvScale() {
  QvFieldSetup setup(this, table_);
  setup.field("scaleFactor", scaleFactor);
  qvSetVec3(scaleFactor.value, 1, 1, 1);
}

QvTransform::QvTransform() {
  QvFieldSetup setup(this, table_);
  setup.field("translation", translation);
  setup.field("rotation", rotation);
  setup.field("scaleFactor", scaleFactor);
  setup.field("scaleOrientation", scaleOrientation);
  setup.field("center", center);
  qvSetVec3(translation.value, 0, 0, 0);
  setNoRotation(rotation);
  qvSetVec3(scaleFactor.value, 1, 1, 1);
  setNoRotation(scaleOrientation);
  qvSetVec3(center.value, 0, 0, 0);
}

QvTranslation::QvTranslation() {
  QvFieldSetup setup(this, table_);
  setup.field("translation", translation);
  qvSetVec3(translation.value, 0, 0, 0);
}

QvTexture2Transform::QvTexture2Transform() {
  QvFieldSetup setup(this, table_);
  setup.field("translation", translation);
  setup.field("rotation", rotation);
  setup.field("scaleFactor", scaleFactor);
  setup.field("center", center);
  translation.value[0] = translation.value[1] = 0;
  rotation.value = 0;
  scaleFactor.value[0] = scaleFactor.value[1] = 1;
  center.value[0] = center.value[1] = 0;
}

void QvMatrixTransform::traverse(QvState& state) {
  qvPushElement(state, QvState::TransformationIndex, QvElement::MatrixTransform, this);
}

void QvRotation::traverse(QvState& state) {
  qvPushElement(state, QvState::TransformationIndex, QvElement::Rotation, this);
}

void QvScale::traverse(QvState& state) {
  qvPushElement(state, QvState::TransformationIndex, QvElement::Scale, this);
}

void QvTransform::traverse(QvState& state) {
  qvPushElement(state, QvState::TransformationIndex, QvElement::Transform, this);
}

void QvTranslation::traverse(QvState& state) {
  qvPushElement(state, QvState::TransformationIndex, QvElement::Translation, this);
}

void QvTexture2Transform::traverse(QvState& state) {
  qvPushElement(state, QvState::Texture2TransformationIndex, QvElement::Unknown, this);
}

} // namespace quillmere
