#include "vrml/group_nodes.h"

#include "vrml/conversion.h"
#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvSeparator::table_;
QvFieldTable QvTransformSeparator::table_;
QvFieldTable QvSwitch::table_;
QvFieldTable QvLevelOfDetail::table_;
QvFieldTable QvLOD::table_;
QvFieldTable QvWWWAnchor::table_;
QvFieldTable QvWWWInline::table_;

QvSeparator::QvSeparator() {
  QvFieldSetup setup(this, table_);
  setup.field("renderCulling", renderCulling);
  setup.enumValue("CullEnabled", "ON", ON);
  setup.enumValue("CullEnabled", "OFF", OFF);
  setup.enumValue("CullEnabled", "AUTO", AUTO);
  setup.attachEnum(renderCulling, "CullEnabled");
  renderCulling.value = AUTO;
}

QvTransformSeparator::QvTransformSeparator() { QvFieldSetup setup(this, table_); }

QvSwitch::QvSwitch() {
  QvFieldSetup setup(this, table_);
  setup.field("whichChild", whichChild);
  whichChild.value = kNone;
}

QvLevelOfDetail::QvLevelOfDetail() {
  QvFieldSetup setup(this, table_);
  setup.field("screenArea", screenArea);
  screenArea.values[0] = 0;
}

QvLOD::QvLOD() {
  QvFieldSetup setup(this, table_);
  setup.field("range", range);
  setup.field("center", center);
  range.values[0] = 0;
  qvSetVec3(center.value, 0, 0, 0);
}

QvWWWAnchor::QvWWWAnchor() {
  QvFieldSetup setup(this, table_);
  setup.field("name", name);
  setup.field("description", description);
  setup.field("map", map);
  setup.enumValue("Map", "NONE", NONE);
  setup.enumValue("Map", "POINT", POINT);
  setup.attachEnum(map, "Map");
  map.value = NONE;
}

QvWWWInline::QvWWWInline() {
  QvFieldSetup setup(this, table_);
  setup.field("name", name);
  setup.field("bboxSize", bboxSize);
  setup.field("bboxCenter", bboxCenter);
  qvSetVec3(bboxSize.value, 0, 0, 0);
  qvSetVec3(bboxCenter.value, 0, 0, 0);
}

void QvSeparator::traverse(QvState& state) {
  state.push();
  QvGroup::traverse(state);
  state.pop();
}

// The marker stays on the stack until the enclosing Separator's pop removes
// it by depth; only the transforms above it go now. Other stacks keep what
// the children added.
void QvTransformSeparator::traverse(QvState& state) {
  auto* marker = new QvElement;
  marker->data = this;
  marker->type = QvElement::NoOpTransform;
  state.addElement(QvState::TransformationIndex, marker);
  QvGroup::traverse(state);
  while (state.stacks[QvState::TransformationIndex] && state.stacks[QvState::TransformationIndex] != marker)
    state.popElement(QvState::TransformationIndex);
}

void QvSwitch::traverse(QvState& state) {
  int which = whichChild.value;
  if (which == kAll)
    QvGroup::traverse(state);
  else if (which >= 0 && which < getNumChildren())
    traverseChild(which, state);
}

void QvLevelOfDetail::traverse(QvState& state) {
  if (getNumChildren() > 0) traverseChild(0, state);
}

void QvLOD::traverse(QvState& state) {
  if (getNumChildren() == 0) return;
  QvConversion* conversion = state.getConversion();
  if (conversion) conversion->beginLOD(*this, state);
  for (int i = 0; i < getNumChildren(); ++i) {
    if (conversion) conversion->beginLODChild(*this, i);
    state.push();
    traverseChild(i, state);
    state.pop();
    if (conversion) conversion->endLODChild(*this, i);
  }
  if (conversion) conversion->endLOD(*this, state);
}

// The anchor's children are not visited, and the inline document is not read.
void QvWWWAnchor::traverse(QvState&) {}
void QvWWWInline::traverse(QvState&) {}

} // namespace quillmere
