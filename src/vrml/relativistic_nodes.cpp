#include "vrml/relativistic_nodes.h"

#include "vrml/conversion.h"
#include "vrml/input_file.h"
#include "vrml/state.h"

#include <cmath>

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

namespace {

bool finite3(const float (&v)[3]) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// A single number that must be finite and, for strengths and factors, not
// negative. Reports through the reader and returns false otherwise.
bool checkAmount(QvInputFile& in, const char* node, const char* field, float value) {
  if (!std::isfinite(value)) {
    QvInputFile::postReadError(&in, "%s %s %g is not finite", node, field, double(value));
    return false;
  }
  if (value < 0.0f) {
    QvInputFile::postReadError(&in, "%s %s %g is negative", node, field, double(value));
    return false;
  }
  return true;
}

bool checkFinite(QvInputFile& in, const char* node, const char* field, const float (&v)[3]) {
  if (finite3(v)) return true;
  QvInputFile::postReadError(&in, "%s %s (%g, %g, %g) is not finite", node, field, double(v[0]), double(v[1]),
                             double(v[2]));
  return false;
}

bool checkFinite(QvInputFile& in, const char* node, const char* field, const QvMFFloat& list) {
  for (int i = 0; i < list.num; ++i) {
    if (std::isfinite(list.values[i])) continue;
    QvInputFile::postReadError(&in, "%s %s value %d (%g) is not finite", node, field, i,
                               double(list.values[i]));
    return false;
  }
  return true;
}

} // namespace

bool QvRELmaterialConstant::readInstance(QvInputFile& in) {
  return QvNode::readInstance(in) && checkAmount(in, "RELmaterialConstant", "ambient", ambient.value) &&
         checkAmount(in, "RELmaterialConstant", "diffuse", diffuse.value) &&
         checkAmount(in, "RELmaterialConstant", "specular", specular.value);
}

bool QvRELmaterialPlanck::readInstance(QvInputFile& in) {
  if (!QvNode::readInstance(in) || !checkAmount(in, "RELmaterialPlanck", "strength", strength.value)) return false;
  // The curve is normalised at Wien's peak b/T: T ≤ 0 has no peak and no
  // spectrum, only NaN or absurd colours.
  float kelvin = temperature.value;
  if (!std::isfinite(kelvin)) {
    QvInputFile::postReadError(&in, "RELmaterialPlanck temperature %g K is not finite", double(kelvin));
    return false;
  }
  if (kelvin <= 0.0f) {
    QvInputFile::postReadError(&in, "RELmaterialPlanck temperature %g K is not above absolute zero",
                               double(kelvin));
    return false;
  }
  return true;
}

// Samples may be negative (a spectrum of differences is still a spectrum);
// only numbers that are not finite are refused.
bool QvRELmaterialSampled::readInstance(QvInputFile& in) {
  return QvNode::readInstance(in) && checkFinite(in, "RELmaterialSampled", "ambient", ambient) &&
         checkFinite(in, "RELmaterialSampled", "diffuse", diffuse) &&
         checkFinite(in, "RELmaterialSampled", "specular", specular);
}

// Colours outside [0, 1] are allowed (the RGB spectrum takes negative
// weights anyway); only numbers that are not finite are refused.
bool QvRELmaterialRGB::readInstance(QvInputFile& in) {
  return QvNode::readInstance(in) && checkFinite(in, "RELmaterialRGB", "ambientColor", ambientColor.value) &&
         checkFinite(in, "RELmaterialRGB", "diffuseColor", diffuseColor.value) &&
         checkFinite(in, "RELmaterialRGB", "specularColor", specularColor.value);
}

bool ownRELframe::readInstance(QvInputFile& in) {
  if (!QvNode::readInstance(in) || !checkFinite(in, "RELframe", "translation", translation.value)) return false;
  // The boost into the frame has γ = 1/√(1 − |v|²): at or above light speed
  // (or with a component that is not finite) it is not a number.
  const float* v = velocity.value;
  double speed = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
  if (!(speed < 1.0)) {
    QvInputFile::postReadError(&in,
                               "RELframe velocity (%g, %g, %g) has speed %.3f; a frame must move slower than light",
                               double(v[0]), double(v[1]), double(v[2]), speed);
    return false;
  }
  return true;
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
