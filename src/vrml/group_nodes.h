// The grouping nodes of the catalogue. Their fields come before their
// children in a file; how each visits its children is its traverse.
#pragma once

#include "vrml/group.h"
#include "vrml/node_class.h"

namespace quillmere {

// Everything its children add to the state ends with it.
class QvSeparator : public QvGroup {
  QV_NODE_HEADER("Separator")
  enum CullEnabled { OFF = 0, ON = 1, AUTO = 2 };
  QvSFEnum renderCulling;
  QvSeparator();
};

// Scopes the modelling transforms of its children, and nothing else.
class QvTransformSeparator : public QvGroup {
  QV_NODE_HEADER("TransformSeparator")
  QvTransformSeparator();
};

// Visits one child, all of them (-3), or none (-1 or out of range).
class QvSwitch : public QvGroup {
  QV_NODE_HEADER("Switch")
  static constexpr int kNone = -1;
  static constexpr int kAll = -3;
  QvSFLong whichChild;
  QvSwitch();
};

// Always shows its first child.
class QvLevelOfDetail : public QvGroup {
  QV_NODE_HEADER("LevelOfDetail")
  QvMFFloat screenArea;
  QvLevelOfDetail();
};

// Chooses among its children by the distance of `center`; built into a
// display node by the conversion.
class QvLOD : public QvGroup {
  QV_NODE_HEADER("LOD")
  QvMFFloat range;  // scene units
  QvSFVec3f center; // in the node's modelling frame
  QvLOD();
};

// The anchor's link is not followed; an inline names a file that the walk
// reads in place when it is local (see its traverse).
class QvWWWAnchor : public QvGroup {
  QV_NODE_HEADER("WWWAnchor")
  enum Map { NONE, POINT };
  QvSFString name;
  QvSFString description; // shown to the reader in place of the address
  QvSFEnum map;
  QvWWWAnchor();
};

class QvWWWInline : public QvGroup {
  QV_NODE_HEADER("WWWInline")
  QvSFString name;
  QvSFVec3f bboxSize;
  QvSFVec3f bboxCenter;
  QvWWWInline();
};

} // namespace quillmere
