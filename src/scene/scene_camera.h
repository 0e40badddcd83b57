// The start view a scene file names for itself: its first camera, in world
// coordinates (scene units). A scene source fills it in; the scene loading
// places the observer there when the file is opened directly.
#pragma once

#include "relativity/vector.h"

namespace quillmere {

struct SceneCamera {
  Vector3 position;                  // world coordinates
  Vector3 viewDirection{0, 0, -1};   // unit vector the camera looks along
  Vector3 up{0, 1, 0};               // unit vector, perpendicular to viewDirection
  float heightAngleRadians = 0;      // vertical field of view; 0: orthographic camera
  const char* kind = "";             // the source's name for it ("PerspectiveCamera", …), for tracing
};

} // namespace quillmere
