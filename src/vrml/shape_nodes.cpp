#include "vrml/shape_nodes.h"

#include "vrml/conversion.h"
#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvCone::table_;
QvFieldTable QvCube::table_;
QvFieldTable QvCylinder::table_;
QvFieldTable QvSphere::table_;
QvFieldTable QvAsciiText::table_;
QvFieldTable QvPointSet::table_;
QvFieldTable OwnIndexedFaceSet::table_;
QvFieldTable OwnIndexedLineSet::table_;

namespace {

// The four index lists of face and line sets, each defaulting to one value.
void setUpIndexFields(QvFieldSetup& setup, QvMFLong& coordIndex, QvMFLong& materialIndex,
                      QvMFLong& normalIndex, QvMFLong& textureCoordIndex) {
  setup.field("coordIndex", coordIndex);
  setup.field("materialIndex", materialIndex);
  setup.field("normalIndex", normalIndex);
  setup.field("textureCoordIndex", textureCoordIndex);
  coordIndex.values[0] = 0;
  materialIndex.values[0] = -1;
  normalIndex.values[0] = -1;
  textureCoordIndex.values[0] = -1;
}

} // namespace

QvCone::QvCone() {
  QvFieldSetup setup(this, table_);
  setup.field("parts", parts);
  setup.field("bottomRadius", bottomRadius);
  setup.field("height", height);
  parts.value = ALL;
  bottomRadius.value = 1;
  height.value = 2;
  setup.enumValue("Part", "SIDES", SIDES);
  setup.enumValue("Part", "BOTTOM", BOTTOM);
  setup.enumValue("Part", "ALL", ALL);
  setup.attachEnum(parts, "Part");
}

QvCube::QvCube() {
  QvFieldSetup setup(this, table_);
  setup.field("width", width);
  setup.field("height", height);
  setup.field("depth", depth);
  width.value = height.value = depth.value = 2;
}

QvCylinder::QvCylinder() {
  QvFieldSetup setup(this, table_);
  setup.field("parts", parts);
  setup.field("radius", radius);
  setup.field("height", height);
  parts.value = ALL;
  radius.value = 1;
  height.value = 2;
  setup.enumValue("Part", "SIDES", SIDES);
  setup.enumValue("Part", "TOP", TOP);
  setup.enumValue("Part", "BOTTOM", BOTTOM);
  setup.enumValue("Part", "ALL", ALL);
  setup.attachEnum(parts, "Part");
}

QvSphere::QvSphere() {
  QvFieldSetup setup(this, table_);
  setup.field("radius", radius);
  radius.value = 1;
}

QvAsciiText::QvAsciiText() {
  QvFieldSetup setup(this, table_);
  setup.field("string", string);
  setup.field("spacing", spacing);
  setup.field("justification", justification);
  setup.field("width", width);
  setup.enumValue("Justification", "LEFT", LEFT);
  setup.enumValue("Justification", "CENTER", CENTER);
  setup.enumValue("Justification", "RIGHT", RIGHT);
  setup.attachEnum(justification, "Justification");
  string.values[0] = "";
  spacing.value = 1;
  justification.value = LEFT;
  width.values[0] = 0;
}

QvPointSet::QvPointSet() {
  QvFieldSetup setup(this, table_);
  setup.field("startIndex", startIndex);
  setup.field("numPoints", numPoints);
  startIndex.value = 0;
  numPoints.value = -1;
}

OwnIndexedFaceSet::OwnIndexedFaceSet() {
  QvFieldSetup setup(this, table_);
  setUpIndexFields(setup, coordIndex, materialIndex, normalIndex, textureCoordIndex);
}

OwnIndexedLineSet::OwnIndexedLineSet() {
  QvFieldSetup setup(this, table_);
  setUpIndexFields(setup, coordIndex, materialIndex, normalIndex, textureCoordIndex);
}

void QvCone::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->cone(*this, state);
}

void QvCube::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->cube(*this, state);
}

void QvCylinder::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->cylinder(*this, state);
}

void QvSphere::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->sphere(*this, state);
}

void QvAsciiText::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->asciiText(*this, state);
}
void QvPointSet::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->pointSet(*this, state);
}

void OwnIndexedFaceSet::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->indexedFaceSet(*this, state);
}

void OwnIndexedLineSet::traverse(QvState& state) {
  if (QvConversion* conversion = state.getConversion()) conversion->indexedLineSet(*this, state);
}

} // namespace quillmere
