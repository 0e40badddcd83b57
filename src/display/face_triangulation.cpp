#include "display/face_triangulation.h"

namespace quillmere {

namespace {

void appendCorner(const std::int32_t* coordIndex, long position, FaceTriangulation& result) {
  result.triangles.push_back(coordIndex[position]);
  result.corners.push_back(position);
}

// Appends the fan of the face coordIndex[run.begin, run.end).
void appendFace(const std::int32_t* coordIndex, const FaceRun& run, int pointCount, FaceTriangulation& result) {
  if (run.end - run.begin < 3) return;
  for (long k = run.begin; k < run.end; ++k)
    if (coordIndex[k] < 0 || coordIndex[k] >= pointCount) {
      ++result.facesLeftOut;
      return;
    }
  const long face = long(result.faces.size());
  result.faces.push_back(run);
  for (long k = run.begin + 1; k + 1 < run.end; ++k) {
    appendCorner(coordIndex, run.begin, result);
    appendCorner(coordIndex, k, result);
    appendCorner(coordIndex, k + 1, result);
    result.triangleFaces.push_back(face);
  }
}

} // namespace

FaceTriangulation triangulateFaces(const std::int32_t* coordIndex, long count, int pointCount) {
  FaceTriangulation result;
  long faceStart = 0;
  long cornersBefore = 0;
  for (long k = 0; k <= count; ++k) {
    if (k < count && coordIndex[k] != -1) continue;
    if (k > faceStart) {
      FaceRun run{faceStart, k, result.faceCount, cornersBefore};
      appendFace(coordIndex, run, pointCount, result);
      ++result.faceCount;
      cornersBefore += k - faceStart;
    }
    faceStart = k + 1;
  }
  return result;
}

} // namespace quillmere
