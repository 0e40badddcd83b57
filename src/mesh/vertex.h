// One vertex of a face or line set: position and normal (world coordinates
// in the source arrays; relative to the observer's event, in the observer's
// view of the object's axes, in the transformed arrays) and a texture
// coordinate (s, t, 0, 1).
#pragma once

#include "relativity/vector.h"

namespace quillmere {

struct DvVertex {
  Vector3 position;
  Vector3 normal;
  float texCoord[4] = {0, 0, 0, 1}; // s, t, 0, 1
};

} // namespace quillmere
