// The vertices of a line set whose Material gives several values bound per
// segment, per polyline or per vertex. A point may show other materials in
// other places, so every entry of the index list becomes a vertex of its
// own, with its material; per-segment materials make every segment a strip
// of two vertices, so each segment shows its own colour from end to end.
#pragma once

#include "mesh/vertex_material.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillmere {

// What each index entry's material is looked up by.
enum class LineMaterialBinding {
  PerSegment,        // segment s: material s
  PerSegmentIndexed, // segment s: materialIndex[s]
  PerLine,           // polyline p: material p
  PerLineIndexed,    // polyline p: materialIndex[p]
  PerVertex,         // the n-th vertex of the list: material n
  PerVertexIndexed,  // materialIndex per entry, or the point's own index without one
};

struct LineSetMaterialSource {
  const float (*points)[3] = nullptr;
  int pointCount = 0;
  const std::int32_t* coordIndex = nullptr;
  long coordIndexCount = 0;
  LineMaterialBinding binding = LineMaterialBinding::PerVertex;
  const std::int32_t* materialIndex = nullptr; // null: not given
  long materialIndexCount = 0;
  const std::vector<VertexMaterial>* palette = nullptr; // at least one material
};

struct LineSetWithMaterials {
  std::vector<std::array<float, 3>> points; // one per vertex
  std::vector<std::int32_t> coordIndex;     // strips of those points, ended by -1
  std::vector<VertexMaterial> materials;    // one per point
  long verticesWithoutMaterial = 0;         // they took the first material
};

// Entries that name no point stay in the list as -2, so the line set leaves
// them out and counts them as it does any index outside its points.
LineSetWithMaterials lineSetWithMaterials(const LineSetMaterialSource& source);

} // namespace quillmere
