// Modelling and texture transforms. Rotations are axis and angle (radians);
// MatrixTransform keeps its sixteen numbers row by row as the file wrote them.
#pragma once

#include "vrml/node_class.h"

namespace quillmere {

class QvMatrixTransform : public QvNode {
  QV_NODE_HEADER("MatrixTransform")
  QvSFMatrix matrix;
  QvMatrixTransform();
};

class QvRotation : public QvNode {
  QV_NODE_HEADER("Rotation")
  QvSFRotation rotation;
  QvRotation();
};

class QvScale : public QvNode {
  QV_NODE_HEADER("Scale")
  QvSFVec3f scaleFactor;
  QvScale();
};

// T * C * R * SR * S * SR^-1 * C^-1, composed by the conversion.
class QvTransform : public QvNode {
  QV_NODE_HEADER("Transform")
  QvSFVec3f translation;
  QvSFRotation rotation;
  QvSFVec3f scaleFactor;
  QvSFRotation scaleOrientation;
  QvSFVec3f center;
  QvTransform();
};

class QvTranslation : public QvNode {
  QV_NODE_HEADER("Translation")
  QvSFVec3f translation;
  QvTranslation();
};

// A transform of texture coordinates, in the texture's (s, t) plane.
class QvTexture2Transform : public QvNode {
  QV_NODE_HEADER("Texture2Transform")
  QvSFVec2f translation;
  QvSFFloat rotation; // radians about the texture plane's normal
  QvSFVec2f scaleFactor;
  QvSFVec2f center;
  QvTexture2Transform();
};

} // namespace quillmere
