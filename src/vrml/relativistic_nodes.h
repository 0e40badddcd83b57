// The system's own nodes: four materials whose colour is a spectrum, and an
// inertial frame of reference. Velocities are fractions of light speed.
#pragma once

#include "vrml/node_class.h"

namespace quillmere {

// Reflectance factors of a spectrum that is the same at every wavelength.
class QvRELmaterialConstant : public QvNode {
  QV_NODE_HEADER("RELmaterialConstant")
  QvSFFloat ambient;
  QvSFFloat diffuse;
  QvSFFloat specular;
  QvRELmaterialConstant();
};

// A black-body emitter.
class QvRELmaterialPlanck : public QvNode {
  QV_NODE_HEADER("RELmaterialPlanck")
  QvSFFloat strength;
  QvSFFloat temperature; // kelvin
  QvRELmaterialPlanck();
};

// Spectra given as lists of samples.
class QvRELmaterialSampled : public QvNode {
  QV_NODE_HEADER("RELmaterialSampled")
  QvMFFloat ambient;
  QvMFFloat diffuse;
  QvMFFloat specular;
  QvRELmaterialSampled();
};

class QvRELmaterialRGB : public QvNode {
  QV_NODE_HEADER("RELmaterialRGB")
  QvSFColor ambientColor;
  QvSFColor diffuseColor;
  QvSFColor specularColor;
  QvRELmaterialRGB();
};

// Geometry after this node rests in a frame at `translation` moving with
// `velocity` relative to the scene.
class ownRELframe : public QvNode {
  QV_NODE_HEADER("RELframe")
  QvSFVec3f translation; // scene units
  QvSFVec3f velocity;    // fractions of light speed
  ownRELframe();
};

} // namespace quillmere
