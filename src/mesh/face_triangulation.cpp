#include "mesh/face_triangulation.h"

#include <cmath>
#include <vector>

namespace quillmere {

namespace {

void appendCorner(const std::int32_t* coordIndex, long position, FaceTriangulation& result) {
  result.triangles.push_back(coordIndex[position]);
  result.corners.push_back(std::int32_t(position));
}

void appendTriangle(const std::int32_t* coordIndex, long a, long b, long c, long face, FaceTriangulation& result) {
  appendCorner(coordIndex, a, result);
  appendCorner(coordIndex, b, result);
  appendCorner(coordIndex, c, result);
  result.triangleFaces.push_back(std::int32_t(face));
}

// A face's corners projected onto the coordinate plane most nearly parallel
// to it, oriented so that the face winds counter-clockwise there.
struct FacePlane {
  int u = 0, v = 1; // the two axes kept
  double sign = 1;  // −1 when the face's normal points down the dropped axis
  bool valid = false;

  FacePlane(const std::int32_t* coordIndex, const FaceRun& run, const float (*points)[3]) {
    // Newell's normal: robust for concave and slightly non-planar faces.
    double normal[3] = {0, 0, 0};
    for (long k = run.begin; k < run.end; ++k) {
      const float* p = points[coordIndex[k]];
      const float* q = points[coordIndex[k + 1 < run.end ? k + 1 : run.begin]];
      normal[0] += double(p[1] - q[1]) * double(p[2] + q[2]);
      normal[1] += double(p[2] - q[2]) * double(p[0] + q[0]);
      normal[2] += double(p[0] - q[0]) * double(p[1] + q[1]);
    }
    int drop = 0;
    for (int axis = 1; axis < 3; ++axis)
      if (std::fabs(normal[axis]) > std::fabs(normal[drop])) drop = axis;
    valid = normal[drop] != 0.0;
    u = (drop + 1) % 3; // (u, v, drop) is right-handed
    v = (drop + 2) % 3;
    sign = normal[drop] > 0 ? 1.0 : -1.0;
  }

  // Twice the signed area of (a, b, c) in the plane, positive when it turns
  // the face's way.
  double turn(const float* a, const float* b, const float* c) const {
    return sign * ((double(b[u]) - a[u]) * (double(c[v]) - a[v]) - (double(b[v]) - a[v]) * (double(c[u]) - a[u]));
  }
};

bool samePosition(const float* p, const float* q) { return p[0] == q[0] && p[1] == q[1] && p[2] == q[2]; }

// The face's corners without those that add no area: a corner at the same
// place as the one before it, and a corner on the straight line through its
// neighbours (|turn| within rounding of the product of the two edges).
std::vector<long> cornersWithArea(const std::int32_t* coordIndex, const FaceRun& run, const float (*points)[3],
                                  const FacePlane& plane) {
  auto point = [&](long position) { return points[coordIndex[position]]; };
  std::vector<long> corners;
  for (long k = run.begin; k < run.end; ++k)
    if (corners.empty() || !samePosition(point(corners.back()), point(k))) corners.push_back(k);
  while (corners.size() > 1 && samePosition(point(corners.back()), point(corners.front()))) corners.pop_back();
  for (std::size_t i = 0; corners.size() >= 3 && i < corners.size();) {
    const std::size_t m = corners.size();
    const float* a = point(corners[(i + m - 1) % m]);
    const float* b = point(corners[i]);
    const float* c = point(corners[(i + 1) % m]);
    const double ab = std::hypot(double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]);
    const double bc = std::hypot(double(c[0]) - b[0], double(c[1]) - b[1], double(c[2]) - b[2]);
    if (std::fabs(plane.turn(a, b, c)) <= 1e-6 * ab * bc) {
      corners.erase(corners.begin() + long(i));
      if (i > 0) --i; // the corner before may be flat now
    } else {
      ++i;
    }
  }
  return corners;
}

// Ear clipping: repeatedly cut off a corner whose triangle turns the face's
// way and holds no other remaining corner (a corner at one of the triangle's
// own places, where a face touches itself, does not count). False when the
// face has no plane.
bool appendEars(const std::int32_t* coordIndex, const FaceRun& run, const float (*points)[3], long face,
                FaceTriangulation& result) {
  const FacePlane plane(coordIndex, run, points);
  if (!plane.valid) return false;
  std::vector<long> remaining = cornersWithArea(coordIndex, run, points, plane);
  if (remaining.size() < 3) return true; // no area: nothing to draw
  auto point = [&](long position) { return points[coordIndex[position]]; };
  while (remaining.size() > 3) {
    const std::size_t m = remaining.size();
    bool cut = false;
    for (std::size_t i = 0; i < m && !cut; ++i) {
      long a = remaining[(i + m - 1) % m], b = remaining[i], c = remaining[(i + 1) % m];
      if (plane.turn(point(a), point(b), point(c)) <= 0.0) continue; // reflex or flat corner
      bool empty = true;
      for (std::size_t j = 0; j < m && empty; ++j) {
        long other = remaining[j];
        if (other == a || other == b || other == c) continue;
        const float* p = point(other);
        if (samePosition(p, point(a)) || samePosition(p, point(b)) || samePosition(p, point(c))) continue;
        empty = !(plane.turn(point(a), point(b), p) >= 0.0 && plane.turn(point(b), point(c), p) >= 0.0 &&
                  plane.turn(point(c), point(a), p) >= 0.0);
      }
      if (!empty) continue;
      appendTriangle(coordIndex, a, b, c, face, result);
      remaining.erase(remaining.begin() + long(i));
      cut = true;
    }
    if (!cut) break; // no ear left (a self-crossing face): the rest as a fan
  }
  for (std::size_t k = 1; k + 1 < remaining.size(); ++k)
    appendTriangle(coordIndex, remaining[0], remaining[k], remaining[k + 1], face, result);
  return true;
}

// Appends the triangles of the face coordIndex[run.begin, run.end): its fan,
// or its ears when `points` says it may be concave.
void appendFace(const std::int32_t* coordIndex, const FaceRun& run, int pointCount, const float (*points)[3],
                FaceTriangulation& result) {
  const long corners = run.end - run.begin;
  if (corners < 3) return;
  for (long k = run.begin; k < run.end; ++k)
    if (coordIndex[k] < 0 || coordIndex[k] >= pointCount) {
      ++result.facesLeftOut;
      return;
    }
  const long face = long(result.faces.size());
  result.faces.push_back(run);
  if (points && corners > 3 && corners <= kMaxEarClippedCorners && appendEars(coordIndex, run, points, face, result))
    return;
  for (long k = run.begin + 1; k + 1 < run.end; ++k) appendTriangle(coordIndex, run.begin, k, k + 1, face, result);
}

} // namespace

FaceTriangulation triangulateFaces(const std::int32_t* coordIndex, long count, int pointCount,
                                   const float (*points)[3]) {
  FaceTriangulation result;
  long faceStart = 0;
  long cornersBefore = 0;
  for (long k = 0; k <= count; ++k) {
    if (k < count && coordIndex[k] != -1) continue;
    if (k > faceStart) {
      FaceRun run{std::int32_t(faceStart), std::int32_t(k), std::int32_t(result.faceCount),
                  std::int32_t(cornersBefore)};
      appendFace(coordIndex, run, pointCount, points, result);
      ++result.faceCount;
      cornersBefore += k - faceStart;
    }
    faceStart = k + 1;
  }
  return result;
}

} // namespace quillmere
