// Turns an IndexedFaceSet's coordinate index list into triangles: the list
// is split into faces at every -1 (a last face needs no -1), each face of
// n ≥ 3 vertices becomes the fan of n − 2 triangles (v0, v_i, v_i+1), which
// keeps the face's winding, and faces of fewer vertices are no faces. A face
// with any index outside 0 .. pointCount − 1 is left out and counted, so no
// triangle can ever reach past the point list.
//
// Faces that may be concave (`points` given) are cut by ear clipping in the
// face's own plane instead: every triangle lies inside the face, in the
// face's winding. Faces of more than kMaxEarClippedCorners corners, and faces
// that have no plane (all points on a line), keep the fan.
//
// Every triangle corner also carries its position in the index list, and
// every triangle its face, so per-corner and per-face data given by parallel
// index lists can be looked up for it.
#pragma once

#include <cstdint>
#include <vector>

namespace quillmere {

// One face kept: its indices are coordIndex[begin, end). Positions and
// counts within one list fit 32 bits (see `corners`).
struct FaceRun {
  std::int32_t begin = 0;
  std::int32_t end = 0;
  std::int32_t number = 0;      // its place among all faces of the list (every non-empty run counts)
  std::int32_t firstCorner = 0; // how many indices other than -1 precede it in the list
};

struct FaceTriangulation {
  std::vector<int> triangles;      // three point indices per triangle
  // Parallel to triangles: each corner's position in coordIndex. A scene
  // file's lists hold fewer than 2³¹ entries, so positions fit 32 bits,
  // which halves the largest arrays of a big mesh's conversion.
  std::vector<std::int32_t> corners;
  std::vector<std::int32_t> triangleFaces; // per triangle: its face's place in `faces`
  std::vector<FaceRun> faces;      // the faces that gave triangles, in list order
  long faceCount = 0;              // every non-empty run of the list, kept or not
  long facesLeftOut = 0;           // faces dropped for an index outside the points
};

constexpr long kMaxEarClippedCorners = 256; // ear clipping takes time quadratic in the corners

FaceTriangulation triangulateFaces(const std::int32_t* coordIndex, long count, int pointCount,
                                   const float (*points)[3] = nullptr);

} // namespace quillmere
