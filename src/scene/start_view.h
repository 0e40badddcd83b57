// Where a scene file opened directly is first seen from: its own camera, or
// VRML's default view — from the +z side looking along −z with +y up, far
// enough back that the scene's bounding sphere fills the field of view.
// Works on any converted display scene (world coordinates, scene units).
#pragma once

#include "scene/scene_camera.h"

#include <optional>

namespace quillmere {

class DvGroup;

// The sphere around the box of the scene's source vertices.
struct SceneSphere {
  Vector3 centre;     // world coordinates
  float radius = 0;   // scene units; 0 for a scene of one point
  bool empty = true;  // the scene has no vertices
};

SceneSphere sceneSphere(const DvGroup& root);

// The file's camera when it has one; else the default view of `sphere`
// whose field of view is `verticalFovRadians` high and `aspect` times as
// wide (the narrower of the two holds the sphere).
SceneCamera startView(const SceneSphere& sphere, const std::optional<SceneCamera>& camera, float verticalFovRadians,
                      float aspect);

} // namespace quillmere
