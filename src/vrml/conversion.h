// The interface through which the walk over a parsed tree reaches the scene
// conversion. The reader keeps the traversal state itself (pushes, Separator
// scopes, Switch, TransformSeparator, LevelOfDetail); whatever must build
// display nodes is handed over here, so the reader never depends on the
// display side. The conversion implements it and passes it in the QvState.
//
// A node reached through several USEs is visited (and converted) once per
// path to it; the state's visit budget bounds how far shared groups nested in
// shared groups can multiply that.
#pragma once

namespace quillmere {

class OwnIndexedFaceSet;
class QvAsciiText;
class OwnIndexedLineSet;
class QvCone;
class QvCube;
class QvCylinder;
class QvPointSet;
class QvLOD;
class QvOrthographicCamera;
class QvPerspectiveCamera;
class QvState;
class ownMaterial;
class ownRELframe;
class QvSphere;
class ownTexture2;

class QvConversion {
public:
  virtual ~QvConversion() = default;

  // A face set or line set met in the walk: the state holds the coordinates,
  // normals, bindings, texture coordinates, materials and transforms in force.
  virtual void indexedFaceSet(const OwnIndexedFaceSet& node, const QvState& state) = 0;
  virtual void indexedLineSet(const OwnIndexedLineSet& node, const QvState& state) = 0;

  // A primitive shape met in the walk: its fields give its geometry, the
  // state the transforms and materials in force.
  virtual void cube(const QvCube& node, const QvState& state) = 0;
  virtual void sphere(const QvSphere& node, const QvState& state) = 0;
  virtual void cone(const QvCone& node, const QvState& state) = 0;
  virtual void cylinder(const QvCylinder& node, const QvState& state) = 0;
  // Points of the Coordinate3 in force, drawn as points; a conversion that
  // does not draw them need not say so.
  virtual void pointSet(const QvPointSet&, const QvState&) {}
  // Lines of text in the FontStyle in force; a conversion that does not
  // draw text need not say so.
  virtual void asciiText(const QvAsciiText&, const QvState&) {}

  // Called after the node's element is on its stack. A material usually
  // builds nothing here (each shape makes its own from the Material stack);
  // a texture or a frame of reference becomes a display node at this place.
  virtual void material(const ownMaterial& node, const QvState& state) = 0;
  virtual void texture2(const ownTexture2& node, const QvState& state) = 0;
  virtual void relFrame(const ownRELframe& node, const QvState& state) = 0;

  // A camera met in the walk, after its element is on its stack; the state
  // holds the transforms in force. A conversion that takes no view from the
  // file need not say so.
  virtual void perspectiveCamera(const QvPerspectiveCamera&, const QvState&) {}
  virtual void orthographicCamera(const QvOrthographicCamera&, const QvState&) {}

  // An LOD with at least one child. The walk calls beginLOD, then for each
  // child in order beginLODChild, visits the child inside its own state scope
  // (push before, pop after, so no child sees its siblings' properties), and
  // endLODChild; then endLOD, with the state as it was at beginLOD.
  virtual void beginLOD(const QvLOD& node, const QvState& state) = 0;
  virtual void beginLODChild(const QvLOD& node, int childIndex) = 0;
  virtual void endLODChild(const QvLOD& node, int childIndex) = 0;
  virtual void endLOD(const QvLOD& node, const QvState& state) = 0;
};

} // namespace quillmere
