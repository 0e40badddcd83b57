#include "vrml/relativistic_nodes.h"

#include "vrml/conversion.h"
#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvRELmaterialConstant::table_;
QvFieldTable QvRELmaterialPlanck::table_;
QvFieldTable QvRELmaterialSampled::table_;
QvFieldTable QvRELmaterialRGB::table_;
QvFieldTable ownRELframe::table_;

QvRELmaterialConstant::QvRELmaterialConstant() {
  QvFieldSetup setup(this, table_);
  setup.field("ambient", ambient);
  setup.field("diffuse", diffuse);
  setup.field("specular", specular);
  ambient.value = 0;
  diffuse.value = 0.2f;
  specular.value = 0;
}

QvRELmaterialPlanck::QvRELmaterialPlanck() {
  QvFieldSetup setup(this, table_);
  setup.field("strength", strength);
  setup.field("temperature", temperature);
  strength.value = 1;
  temperature.value = 5760;
}

QvRELmaterialSampled::QvRELmaterialSampled() {
  QvFieldSetup setup(this, table_);
  setup.field("ambient", ambient);
  setup.field("diffuse", diffuse);
  setup.field("specular", specular);
  ambient.values[0] = diffuse.values[0] = specular.values[0] = 0;
}

QvRELmaterialRGB::QvRELmaterialRGB() {
  QvFieldSetup setup(this, table_);
  setup.field("ambientColor", ambientColor);
  setup.field("diffuseColor", diffuseColor);
  setup.field("specularColor", specularColor);
  qvSetVec3(ambientColor.value, 0, 0, 0);
  qvSetVec3(diffuseColor.value, 0.2f, 0.2f, 0.2f);
  qvSetVec3(specularColor.value, 0, 0, 0);
}

ownRELframe::ownRELframe() {
  QvFieldSetup setup(this, table_);
  setup.field("translation", translation);
  setup.field("velocity", velocity);
  qvSetVec3(translation.value, 0, 0, 0);
  qvSetVec3(velocity.value, 0, 0, 0);
}

void QvRELmaterialConstant::traverse(QvState& state) {
  qvPushElement(state, QvState::RELmaterialIndex, QvElement::RELmaterialConstant, this);
}

void QvRELmaterialPlanck::traverse(QvState& state) {
  qvPushElement(state, QvState::RELmaterialIndex, QvElement::RELmaterialPlanck, this);
}

void QvRELmaterialSampled::traverse(QvState& state) {
  qvPushElement(state, QvState::RELmaterialIndex, QvElement::RELmaterialSampled, this);
}

void QvRELmaterialRGB::traverse(QvState& state) {
  qvPushElement(state, QvState::RELmaterialIndex, QvElement::RELmaterialRGB, this);
}

// The frame's element carries no type of its own: nothing tells kinds apart
// on the frame-of-reference stack.
void ownRELframe::traverse(QvState& state) {
  qvPushElement(state, QvState::RELframeIndex, QvElement::Unknown, this);
  if (QvConversion* conversion = state.getConversion()) conversion->relFrame(*this, state);
}

} // namespace quillmere
