// The system's own nodes: four materials whose colour is a spectrum, and an
// inertial frame of reference. Velocities are fractions of light speed.
//
// Each checks its values once its body is read and fails the read, with the
// line where the body ends, on a value that cannot be physical: a frame at or
// above light speed, a black body at or below 0 K, a negative strength or
// factor, or any number that is not finite (a value beyond the float range
// reads as an infinity). Such values would turn every later vertex or colour
// into NaN.
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
  bool readInstance(QvInputFile& in) override;
};

// A black-body emitter.
class QvRELmaterialPlanck : public QvNode {
  QV_NODE_HEADER("RELmaterialPlanck")
  QvSFFloat strength;
  QvSFFloat temperature; // kelvin
  QvRELmaterialPlanck();
  bool readInstance(QvInputFile& in) override;
};

// Spectra given as lists of samples.
class QvRELmaterialSampled : public QvNode {
  QV_NODE_HEADER("RELmaterialSampled")
  QvMFFloat ambient;
  QvMFFloat diffuse;
  QvMFFloat specular;
  QvRELmaterialSampled();
  bool readInstance(QvInputFile& in) override;
};

class QvRELmaterialRGB : public QvNode {
  QV_NODE_HEADER("RELmaterialRGB")
  QvSFColor ambientColor;
  QvSFColor diffuseColor;
  QvSFColor specularColor;
  QvRELmaterialRGB();
  bool readInstance(QvInputFile& in) override;
};

// Geometry after this node rests in a frame at `translation` moving with
// `velocity` relative to the scene.
class ownRELframe : public QvNode {
  QV_NODE_HEADER("RELframe")
  QvSFVec3f translation; // scene units
  QvSFVec3f velocity;    // fractions of light speed
  ownRELframe();
  bool readInstance(QvInputFile& in) override;
};

} // namespace quillmere
