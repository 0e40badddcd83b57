#include "vrml/property_nodes.h"

#include "vrml/conversion.h"
#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvCoordinate3::table_;
QvFieldTable ownMaterial::table_;
QvFieldTable QvMaterialBinding::table_;
QvFieldTable QvNormal::table_;
QvFieldTable QvNormalBinding::table_;
QvFieldTable QvShapeHints::table_;
QvFieldTable ownTexture2::table_;
QvFieldTable QvTextureCoordinate2::table_;
QvFieldTable QvFontStyle::table_;
QvFieldTable QvInfo::table_;

namespace {

void defineBinding(QvFieldSetup& setup, QvSFEnum& value) {
  static const char* const kNames[] = {"DEFAULT",  "NONE",           "OVERALL",    "PER_PART",          "PER_PART_INDEXED",
                                       "PER_FACE", "PER_FACE_INDEXED", "PER_VERTEX", "PER_VERTEX_INDEXED"};
  for (int i = 0; i <= QvBindingPerVertexIndexed; ++i) setup.enumValue("Binding", kNames[i], i);
  setup.attachEnum(value, "Binding");
  value.value = QvBindingDefault;
}

void setColour(QvMFColor& colour, float grey) { qvSetVec3(colour.values[0], grey, grey, grey); }

} // namespace

QvCoordinate3::QvCoordinate3() {
  QvFieldSetup setup(this, table_);
  setup.field("point", point);
  qvSetVec3(point.values[0], 0, 0, 0);
}

ownMaterial::ownMaterial() {
  QvFieldSetup setup(this, table_);
  setup.field("ambientColor", ambientColor);
  setup.field("diffuseColor", diffuseColor);
  setup.field("specularColor", specularColor);
  setup.field("emissiveColor", emissiveColor);
  setup.field("shininess", shininess);
  setup.field("transparency", transparency);
  setColour(ambientColor, 0.2f);
  setColour(diffuseColor, 0.2f);
  setColour(specularColor, 0);
  setColour(emissiveColor, 0);
  shininess.values[0] = 0.2f;
  transparency.values[0] = 0;
}

QvMaterialBinding::QvMaterialBinding() {
  QvFieldSetup setup(this, table_);
  setup.field("value", value);
  defineBinding(setup, value);
}

QvNormal::QvNormal() {
  QvFieldSetup setup(this, table_);
  setup.field("vector", vector);
  qvSetVec3(vector.values[0], 0, 0, 1);
}

QvNormalBinding::QvNormalBinding() {
  QvFieldSetup setup(this, table_);
  setup.field("value", value);
  defineBinding(setup, value);
}

QvShapeHints::QvShapeHints() {
  QvFieldSetup setup(this, table_);
  setup.field("vertexOrdering", vertexOrdering);
  setup.field("shapeType", shapeType);
  setup.field("faceType", faceType);
  setup.field("creaseAngle", creaseAngle);
  setup.enumValue("VertexOrdering", "UNKNOWN_ORDERING", UNKNOWN_ORDERING);
  setup.enumValue("VertexOrdering", "CLOCKWISE", CLOCKWISE);
  setup.enumValue("VertexOrdering", "COUNTERCLOCKWISE", COUNTERCLOCKWISE);
  setup.enumValue("ShapeType", "UNKNOWN_SHAPE_TYPE", UNKNOWN_SHAPE_TYPE);
  setup.enumValue("ShapeType", "SOLID", SOLID);
  setup.enumValue("FaceType", "UNKNOWN_FACE_TYPE", UNKNOWN_FACE_TYPE);
  setup.enumValue("FaceType", "CONVEX", CONVEX);
  setup.attachEnum(vertexOrdering, "VertexOrdering");
  setup.attachEnum(shapeType, "ShapeType");
  setup.attachEnum(faceType, "FaceType");
  vertexOrdering.value = UNKNOWN_ORDERING;
  shapeType.value = UNKNOWN_SHAPE_TYPE;
  faceType.value = CONVEX;
  creaseAngle.value = 0.5f;
}

ownTexture2::ownTexture2() {
  QvFieldSetup setup(this, table_);
  setup.field("filename", filename);
  setup.field("image", image);
  setup.field("wrapS", wrapS);
  setup.field("wrapT", wrapT);
  setup.enumValue("Wrap", "REPEAT", REPEAT);
  setup.enumValue("Wrap", "CLAMP", CLAMP);
  setup.attachEnum(wrapS, "Wrap");
  setup.attachEnum(wrapT, "Wrap");
  wrapS.value = wrapT.value = REPEAT;
}

bool ownTexture2::readInstance(QvInputFile& in) {
  bool ok = QvNode::readInstance(in);
  // The image is loaded from the named file, so an inline image beside a
  // file name counts as not given.
  if (ok && !filename.isDefault()) image.setDefault(true);
  return ok;
}

QvTextureCoordinate2::QvTextureCoordinate2() {
  QvFieldSetup setup(this, table_);
  setup.field("point", point);
  point.values[0][0] = point.values[0][1] = 0;
}

QvFontStyle::QvFontStyle() {
  QvFieldSetup setup(this, table_);
  setup.field("size", size);
  setup.field("family", family);
  setup.field("style", style);
  setup.enumValue("Family", "SERIF", SERIF);
  setup.enumValue("Family", "SANS", SANS);
  setup.enumValue("Family", "TYPEWRITER", TYPEWRITER);
  setup.enumValue("Style", "NONE", NONE);
  setup.enumValue("Style", "BOLD", BOLD);
  setup.enumValue("Style", "ITALIC", ITALIC);
  setup.attachEnum(family, "Family");
  setup.attachEnum(style, "Style");
  size.value = 10;
  family.value = SERIF;
  style.value = NONE;
}

QvInfo::QvInfo() {
  QvFieldSetup setup(this, table_);
  setup.field("string", string);
  string.value = "<Undefined info>";
}

void QvCoordinate3::traverse(QvState& state) {
  qvPushElement(state, QvState::Coordinate3Index, QvElement::Unknown, this);
}

void ownMaterial::traverse(QvState& state) {
  qvPushElement(state, QvState::MaterialIndex, QvElement::Unknown, this);
  if (QvConversion* conversion = state.getConversion()) conversion->material(*this, state);
}

void QvMaterialBinding::traverse(QvState& state) {
  qvPushElement(state, QvState::MaterialBindingIndex, QvElement::Unknown, this);
}

void QvNormal::traverse(QvState& state) { qvPushElement(state, QvState::NormalIndex, QvElement::Unknown, this); }

void QvNormalBinding::traverse(QvState& state) {
  qvPushElement(state, QvState::NormalBindingIndex, QvElement::Unknown, this);
}

void QvShapeHints::traverse(QvState& state) {
  qvPushElement(state, QvState::ShapeHintsIndex, QvElement::Unknown, this);
}

void ownTexture2::traverse(QvState& state) {
  qvPushElement(state, QvState::Texture2Index, QvElement::Unknown, this);
  if (QvConversion* conversion = state.getConversion()) conversion->texture2(*this, state);
}

void QvTextureCoordinate2::traverse(QvState& state) {
  qvPushElement(state, QvState::TextureCoordinate2Index, QvElement::Unknown, this);
}

void QvFontStyle::traverse(QvState& state) {
  qvPushElement(state, QvState::FontStyleIndex, QvElement::Unknown, this);
}

void QvInfo::traverse(QvState&) {}

} // namespace quillmere
