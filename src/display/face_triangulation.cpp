#include "display/face_triangulation.h"

namespace quillmere {

namespace {

// Appends the fan of the face coordIndex[begin, end).
void appendFace(const std::int32_t* coordIndex, long begin, long end, int pointCount,
                FaceTriangulation& result) {
  if (end - begin < 3) return;
  for (long k = begin; k < end; ++k)
    if (coordIndex[k] < 0 || coordIndex[k] >= pointCount) {
      ++result.facesLeftOut;
      return;
    }
  for (long k = begin + 1; k + 1 < end; ++k) {
    result.triangles.push_back(coordIndex[begin]);
    result.triangles.push_back(coordIndex[k]);
    result.triangles.push_back(coordIndex[k + 1]);
  }
}

} // namespace

FaceTriangulation triangulateFaces(const std::int32_t* coordIndex, long count, int pointCount) {
  FaceTriangulation result;
  long faceStart = 0;
  for (long k = 0; k <= count; ++k) {
    if (k < count && coordIndex[k] != -1) continue;
    appendFace(coordIndex, faceStart, k, pointCount, result);
    faceStart = k + 1;
  }
  return result;
}

} // namespace quillmere
