// Lights and cameras. The conversion keeps them on their stacks but draws
// with the lights of the parameter file; the first camera of a file gives
// the start view of a file opened directly.
// Positions and directions are in the node's modelling frame; angles in radians.
#pragma once

#include "vrml/node_class.h"

namespace quillmere {

class QvDirectionalLight : public QvNode {
  QV_NODE_HEADER("DirectionalLight")
  QvSFBool on;
  QvSFFloat intensity;
  QvSFColor color;
  QvSFVec3f direction;
  QvDirectionalLight();
};

class QvPointLight : public QvNode {
  QV_NODE_HEADER("PointLight")
  QvSFBool on;
  QvSFFloat intensity;
  QvSFColor color;
  QvSFVec3f location;
  QvPointLight();
};

class QvSpotLight : public QvNode {
  QV_NODE_HEADER("SpotLight")
  QvSFBool on;
  QvSFFloat intensity;
  QvSFColor color;
  QvSFVec3f location;
  QvSFVec3f direction;
  QvSFFloat dropOffRate;
  QvSFFloat cutOffAngle; // radians
  QvSpotLight();
};

class QvOrthographicCamera : public QvNode {
  QV_NODE_HEADER("OrthographicCamera")
  QvSFVec3f position;
  QvSFRotation orientation;
  QvSFFloat focalDistance;
  QvSFFloat height; // of the view volume, in scene units
  QvOrthographicCamera();
};

class QvPerspectiveCamera : public QvNode {
  QV_NODE_HEADER("PerspectiveCamera")
  QvSFVec3f position;
  QvSFRotation orientation;
  QvSFFloat focalDistance;
  QvSFFloat heightAngle; // vertical field of view, radians
  QvPerspectiveCamera();
};

} // namespace quillmere
