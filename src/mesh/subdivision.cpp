#include "mesh/subdivision.h"

#include <cstdint>
#include <unordered_map>

namespace quillmere {

namespace {

struct PendingTriangle {
  int corner[3];
  float area;
};

float squaredLength(const Vector3& a, const Vector3& b) {
  Vector3 d = b - a;
  return dot(d, d);
}

DvVertex midpointOf(const DvVertex& a, const DvVertex& b) {
  DvVertex m;
  m.position = 0.5f * (a.position + b.position);
  Vector3 normal = a.normal + b.normal;
  float length = normal.length();
  m.normal = length > 0.0f ? (1.0f / length) * normal : a.normal;
  for (int k = 0; k < 4; ++k) m.texCoord[k] = 0.5f * (a.texCoord[k] + b.texCoord[k]);
  return m;
}

} // namespace

bool subdivideTriangles(std::vector<DvVertex>& vertices, std::vector<int>& triangles, std::vector<float>& areas,
                        float maxEdgeLength, std::size_t maxVertices, std::vector<std::array<int, 2>>* madeBetween) {
  if (!(maxEdgeLength > 0.0f)) return true;
  const float limit = maxEdgeLength * maxEdgeLength;
  std::unordered_map<std::uint64_t, int> midpoints; // edge (smaller, larger index) → its midpoint vertex
  std::vector<PendingTriangle> pending;
  for (std::size_t t = triangles.size() / 3; t-- > 0;)
    pending.push_back({{triangles[3 * t], triangles[3 * t + 1], triangles[3 * t + 2]}, areas[t]});
  std::vector<int> doneTriangles;
  std::vector<float> doneAreas;
  bool complete = true;

  while (!pending.empty()) {
    PendingTriangle t = pending.back();
    pending.pop_back();
    // The longest edge, from corner `e` to the next corner.
    int e = 0;
    float longest = -1.0f;
    for (int k = 0; k < 3; ++k) {
      float length = squaredLength(vertices[std::size_t(t.corner[k])].position,
                                   vertices[std::size_t(t.corner[(k + 1) % 3])].position);
      if (length > longest) {
        longest = length;
        e = k;
      }
    }
    const int a = t.corner[e], b = t.corner[(e + 1) % 3], c = t.corner[(e + 2) % 3];
    const std::uint64_t key = a < b ? (std::uint64_t(a) << 32 | std::uint32_t(b)) : (std::uint64_t(b) << 32 | std::uint32_t(a));
    auto found = midpoints.find(key);
    const bool split = longest > limit && (found != midpoints.end() || vertices.size() < maxVertices);
    if (!split) {
      if (longest > limit) complete = false;
      doneTriangles.insert(doneTriangles.end(), {t.corner[0], t.corner[1], t.corner[2]});
      doneAreas.push_back(t.area);
      continue;
    }
    int m;
    if (found != midpoints.end()) {
      m = found->second;
    } else {
      m = int(vertices.size());
      DvVertex middle = midpointOf(vertices[std::size_t(a)], vertices[std::size_t(b)]);
      vertices.push_back(middle);
      midpoints.emplace(key, m);
      if (madeBetween) madeBetween->push_back({a, b});
    }
    // (a, b, c) becomes (a, m, c) and (m, b, c): the same winding, each half the area.
    pending.push_back({{m, b, c}, 0.5f * t.area});
    pending.push_back({{a, m, c}, 0.5f * t.area});
  }
  triangles = std::move(doneTriangles);
  areas = std::move(doneAreas);
  return complete;
}

} // namespace quillmere
