// Turns an IndexedFaceSet's coordinate index list into triangles: the list
// is split into faces at every -1 (a last face needs no -1), each face of
// n ≥ 3 vertices becomes the fan of n − 2 triangles (v0, v_i, v_i+1), which
// keeps the face's winding, and faces of fewer vertices are no faces. A face
// with any index outside 0 .. pointCount − 1 is left out and counted, so no
// triangle can ever reach past the point list.
#pragma once

#include <cstdint>
#include <vector>

namespace quillmere {

struct FaceTriangulation {
  std::vector<int> triangles; // three point indices per triangle
  long facesLeftOut = 0;      // faces dropped for an index outside the points
};

FaceTriangulation triangulateFaces(const std::int32_t* coordIndex, long count, int pointCount);

} // namespace quillmere
