#include "scene/start_view.h"

#include "display/group.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

SceneSphere sceneSphere(const DvGroup& root) {
  SceneSphere sphere;
  Vector3 min, max;
  if (!root.getBoundingBox(min, max)) return sphere;
  sphere.empty = false;
  sphere.centre = 0.5f * (min + max);
  sphere.radius = 0.5f * (max - min).length();
  return sphere;
}

SceneCamera startView(const SceneSphere& sphere, const std::optional<SceneCamera>& camera, float verticalFovRadians,
                      float aspect) {
  if (camera) return *camera;
  SceneCamera view;
  view.kind = "default view";
  // The sphere touches the sides of the narrower half-angle α: distance r/sin α.
  const float halfVertical = 0.5f * verticalFovRadians;
  const float halfHorizontal = std::atan(std::tan(halfVertical) * std::max(aspect, 1e-3f));
  const float halfAngle = std::clamp(std::min(halfVertical, halfHorizontal), 0.01f, 1.5f);
  // A scene of one point (or none) is looked at from one unit away.
  const float radius = sphere.radius > 0 ? sphere.radius : 0.5f;
  view.position = sphere.centre + Vector3(0, 0, radius / std::sin(halfAngle));
  view.viewDirection = Vector3(0, 0, -1);
  view.up = Vector3(0, 1, 0);
  view.heightAngleRadians = verticalFovRadians;
  return view;
}

} // namespace quillmere
