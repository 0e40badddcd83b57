// Shape nodes. The indexed face and line sets, the primitive shapes and the
// point set are handed to the conversion; text is read and passed over.
#pragma once

#include "vrml/node_class.h"

namespace quillmere {

class QvCone : public QvNode {
  QV_NODE_HEADER("Cone")
  enum Part { SIDES = 1, BOTTOM = 2, ALL = 3 };
  QvSFBitMask parts;
  QvSFFloat bottomRadius;
  QvSFFloat height;
  QvCone();
};

class QvCube : public QvNode {
  QV_NODE_HEADER("Cube")
  QvSFFloat width;
  QvSFFloat height;
  QvSFFloat depth;
  QvCube();
};

class QvCylinder : public QvNode {
  QV_NODE_HEADER("Cylinder")
  enum Part { SIDES = 1, TOP = 2, BOTTOM = 4, ALL = 7 };
  QvSFBitMask parts;
  QvSFFloat radius;
  QvSFFloat height;
  QvCylinder();
};

class QvSphere : public QvNode {
  QV_NODE_HEADER("Sphere")
  QvSFFloat radius;
  QvSphere();
};

// Lines of text, one string each, in the font of the FontStyle in force.
class QvAsciiText : public QvNode {
  QV_NODE_HEADER("AsciiText")
  enum Justification { LEFT, CENTER, RIGHT };
  QvMFString string;
  QvSFFloat spacing; // between lines, in multiples of the font size
  QvSFEnum justification;
  QvMFFloat width; // of each line in scene units; 0: its natural width
  QvAsciiText();
};

class QvPointSet : public QvNode {
  QV_NODE_HEADER("PointSet")
  QvSFLong startIndex;
  QvSFLong numPoints; // -1: all points from startIndex on
  QvPointSet();
};

// Faces as runs of coordinate indices, each face ended by -1.
class OwnIndexedFaceSet : public QvNode {
  QV_NODE_HEADER("IndexedFaceSet")
  QvMFLong coordIndex;
  QvMFLong materialIndex;
  QvMFLong normalIndex;
  QvMFLong textureCoordIndex;
  OwnIndexedFaceSet();
};

// Polylines as runs of coordinate indices, each ended by -1.
class OwnIndexedLineSet : public QvNode {
  QV_NODE_HEADER("IndexedLineSet")
  QvMFLong coordIndex;
  QvMFLong materialIndex;
  QvMFLong normalIndex;
  QvMFLong textureCoordIndex;
  OwnIndexedLineSet();
};

} // namespace quillmere
