// The material of one vertex of a shape whose Material gives several values
// bound per face or per vertex (colour maps, per-face colours). Diffuse and
// transparency come first and side by side: they are the RGBA OpenGL's
// colour material takes per vertex (alpha carries the transparency, as the
// whole-shape material sends it).
#pragma once

#include "relativity/vector.h"

namespace quillmere {

struct VertexMaterial {
  Vector3 diffuse;
  float transparency = 0.0f;
  Vector3 ambient;
  Vector3 specular;
  Vector3 emissive;
};

// The mean of two vertices' materials, for a vertex made between them.
inline VertexMaterial midpointOf(const VertexMaterial& a, const VertexMaterial& b) {
  return {0.5f * (a.diffuse + b.diffuse), 0.5f * (a.transparency + b.transparency), 0.5f * (a.ambient + b.ambient),
          0.5f * (a.specular + b.specular), 0.5f * (a.emissive + b.emissive)};
}

} // namespace quillmere
