// Property nodes: each visit puts the node on its stack of the traversal
// state, where later shapes find it. Colours are RGB in 0..1.
#pragma once

#include "vrml/node_class.h"

namespace quillmere {

class QvCoordinate3 : public QvNode {
  QV_NODE_HEADER("Coordinate3")
  QvMFVec3f point; // scene units
  QvCoordinate3();
};

class ownMaterial : public QvNode {
  QV_NODE_HEADER("Material")
  QvMFColor ambientColor;
  QvMFColor diffuseColor;
  QvMFColor specularColor;
  QvMFColor emissiveColor;
  QvMFFloat shininess;    // 0..1
  QvMFFloat transparency; // 0 opaque .. 1 clear
  ownMaterial();
};

// Names of the Binding enumeration shared by material and normal bindings.
enum QvBinding {
  QvBindingDefault, QvBindingNone, QvBindingOverall, QvBindingPerPart, QvBindingPerPartIndexed,
  QvBindingPerFace, QvBindingPerFaceIndexed, QvBindingPerVertex, QvBindingPerVertexIndexed
};

class QvMaterialBinding : public QvNode {
  QV_NODE_HEADER("MaterialBinding")
  QvSFEnum value; // a QvBinding
  QvMaterialBinding();
};

class QvNormal : public QvNode {
  QV_NODE_HEADER("Normal")
  QvMFVec3f vector;
  QvNormal();
};

class QvNormalBinding : public QvNode {
  QV_NODE_HEADER("NormalBinding")
  QvSFEnum value; // a QvBinding
  QvNormalBinding();
};

class QvShapeHints : public QvNode {
  QV_NODE_HEADER("ShapeHints")
  enum VertexOrdering { UNKNOWN_ORDERING, CLOCKWISE, COUNTERCLOCKWISE };
  enum ShapeType { UNKNOWN_SHAPE_TYPE, SOLID };
  enum FaceType { UNKNOWN_FACE_TYPE, CONVEX };
  QvSFEnum vertexOrdering;
  QvSFEnum shapeType;
  QvSFEnum faceType;
  QvSFFloat creaseAngle; // radians
  QvShapeHints();
};

// A texture image, given by file name or inline. With both, the file wins:
// after the read the inline image counts as not given.
class ownTexture2 : public QvNode {
  QV_NODE_HEADER("Texture2")
  enum Wrap { REPEAT, CLAMP };
  QvSFString filename;
  QvSFImage image;
  QvSFEnum wrapS;
  QvSFEnum wrapT;
  ownTexture2();
  bool readInstance(QvInputFile& in) override;
};

class QvTextureCoordinate2 : public QvNode {
  QV_NODE_HEADER("TextureCoordinate2")
  QvMFVec2f point; // (s, t)
  QvTextureCoordinate2();
};

// The font of the AsciiText nodes after it, on its own stack of the state.
class QvFontStyle : public QvNode {
  QV_NODE_HEADER("FontStyle")
  enum Family { SERIF, SANS, TYPEWRITER };
  enum Style { NONE = 0, BOLD = 1, ITALIC = 2 };
  QvSFFloat size; // height of a line in scene units
  QvSFEnum family;
  QvSFBitMask style;
  QvFontStyle();
};

class QvInfo : public QvNode {
  QV_NODE_HEADER("Info")
  QvSFString string;
  QvInfo();
};

} // namespace quillmere
