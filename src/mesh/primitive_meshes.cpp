#include "mesh/primitive_meshes.h"

#include "relativity/vector.h"

#include <cmath>
#include <initializer_list>

namespace quillmere {

static_assert(sizeof(std::array<float, 3>) == 3 * sizeof(float), "points must be packed as float[3]");
static_assert(sizeof(std::array<float, 2>) == 2 * sizeof(float), "texture coordinates must be packed as float[2]");

FaceSetSource PrimitiveMesh::source() const {
  FaceSetSource source;
  source.points = reinterpret_cast<const float(*)[3]>(points.data());
  source.pointCount = int(points.size());
  source.normals = reinterpret_cast<const float(*)[3]>(normals.data());
  source.normalCount = int(normals.size());
  source.texCoords = reinterpret_cast<const float(*)[2]>(texCoords.data());
  source.texCoordCount = int(texCoords.size());
  source.coordIndex = coordIndex.data();
  source.coordIndexCount = long(coordIndex.size());
  return source;
}

namespace {

constexpr double kPi = 3.14159265358979323846;

// Adds vertices and faces to a mesh.
class MeshBuilder {
public:
  MeshBuilder(PrimitiveMesh& mesh, int partCount) : mesh_(mesh) { mesh_.partCount = partCount; }

  // The part the vertices made from now on belong to.
  void startPart(int part) { part_ = part; }

  int vertex(const Vector3& position, const Vector3& normal, double s, double t) {
    mesh_.parts.push_back(part_);
    mesh_.points.push_back({position.x, position.y, position.z});
    mesh_.normals.push_back({normal.x, normal.y, normal.z});
    mesh_.texCoords.push_back({float(s), float(t)});
    return int(mesh_.points.size()) - 1;
  }

  // A face of three or four corners, wound so that it faces the way its
  // corners' normals point: counter-clockwise seen from outside.
  void face(std::initializer_list<int> corners) {
    Vector3 area;  // twice the vector area, by Newell's sum
    Vector3 facing;
    const int* c = corners.begin();
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
      Vector3 p = position(c[i]);
      Vector3 q = position(c[(i + 1) % n]);
      area += cross(p, q);
      facing += normal(c[i]);
    }
    bool reversed = dot(area, facing) < 0;
    for (std::size_t i = 0; i < n; ++i) mesh_.coordIndex.push_back(c[reversed ? n - 1 - i : i]);
    mesh_.coordIndex.push_back(-1);
  }

  // Quads between two rows of vertices of the same length.
  void band(const std::vector<int>& lower, const std::vector<int>& upper) {
    for (std::size_t i = 0; i + 1 < lower.size(); ++i) face({lower[i], lower[i + 1], upper[i + 1], upper[i]});
  }

private:
  Vector3 position(int v) const {
    const auto& p = mesh_.points[std::size_t(v)];
    return {p[0], p[1], p[2]};
  }
  Vector3 normal(int v) const {
    const auto& p = mesh_.normals[std::size_t(v)];
    return {p[0], p[1], p[2]};
  }

  PrimitiveMesh& mesh_;
  int part_ = 0;
};

// The horizontal direction at angle phi around y: phi = 0 at the back (-z),
// increasing counter-clockwise seen from above.
Vector3 around(double phi) { return {float(-std::sin(phi)), 0.0f, float(-std::cos(phi))}; }

double sliceAngle(double slice) { return 2 * kPi * slice / kRoundSlices; }

// One cube face: centre, the directions of s and t (s × t points out), and
// the half extents along them.
void cubeFace(MeshBuilder& builder, const Vector3& centre, const Vector3& sAxis, const Vector3& tAxis, float sHalf,
              float tHalf) {
  const Vector3 outward = cross(sAxis, tAxis);
  std::vector<int> previous;
  for (int j = 0; j <= kCubeFaceDivisions; ++j) {
    std::vector<int> row;
    double t = double(j) / kCubeFaceDivisions;
    for (int i = 0; i <= kCubeFaceDivisions; ++i) {
      double s = double(i) / kCubeFaceDivisions;
      Vector3 p = centre + float((2 * s - 1) * sHalf) * sAxis + float((2 * t - 1) * tHalf) * tAxis;
      row.push_back(builder.vertex(p, outward, s, t));
    }
    if (j > 0) builder.band(previous, row);
    previous = std::move(row);
  }
}

// A disc of radius r at height y facing up (+y) or down. The image lies over
// it as over the cube's top (s along +x, t along -z) or bottom (t along +z).
void disc(MeshBuilder& builder, float r, float y, bool up) {
  const Vector3 normal(0, up ? 1.0f : -1.0f, 0);
  const double tSign = up ? -1 : 1;
  auto texture = [&](const Vector3& p, double& s, double& t) {
    s = r > 0 ? 0.5 + p.x / (2.0 * r) : 0.5;
    t = r > 0 ? 0.5 + tSign * p.z / (2.0 * r) : 0.5;
  };
  const int centre = builder.vertex({0, y, 0}, normal, 0.5, 0.5);
  std::vector<int> previous;
  for (int k = 1; k <= kDiscRings; ++k) {
    std::vector<int> ring;
    float radius = r * float(k) / kDiscRings;
    for (int i = 0; i <= kRoundSlices; ++i) {
      if (i == kRoundSlices) {
        ring.push_back(ring.front()); // planar texture coordinates need no seam
        break;
      }
      Vector3 p = radius * around(sliceAngle(i));
      p.y = y;
      double s, t;
      texture(p, s, t);
      ring.push_back(builder.vertex(p, normal, s, t));
    }
    if (k == 1) {
      for (int i = 0; i < kRoundSlices; ++i) builder.face({centre, ring[std::size_t(i)], ring[std::size_t(i + 1)]});
    } else {
      builder.band(previous, ring);
    }
    previous = std::move(ring);
  }
}

// The side of a cylinder (topRadius = bottomRadius) or cone (topRadius = 0)
// of the given height. The normal leans up by the side's slope; at a cone's
// apex each slice has its own vertex with the normal of the slice's middle.
void roundSide(MeshBuilder& builder, float bottomRadius, float topRadius, float height) {
  auto sideNormal = [&](double phi) {
    Vector3 n = height * around(phi);
    n.y = bottomRadius - topRadius;
    if (!n.normalize()) n = Vector3(0, 1, 0);
    return n;
  };
  const bool apex = topRadius == 0;
  const int rings = apex ? kSideRings - 1 : kSideRings; // full rings of vertices above the bottom one
  std::vector<int> previous;
  for (int k = 0; k <= rings; ++k) {
    double t = double(k) / kSideRings;
    float radius = float(bottomRadius + (topRadius - bottomRadius) * t);
    float y = float((t - 0.5) * height);
    std::vector<int> ring;
    for (int i = 0; i <= kRoundSlices; ++i) {
      double phi = sliceAngle(i);
      Vector3 p = radius * around(phi);
      p.y = y;
      ring.push_back(builder.vertex(p, sideNormal(phi), double(i) / kRoundSlices, t));
    }
    if (k > 0) builder.band(previous, ring);
    previous = std::move(ring);
  }
  if (!apex) return;
  for (int i = 0; i < kRoundSlices; ++i) {
    int tip = builder.vertex({0, 0.5f * height, 0}, sideNormal(sliceAngle(i + 0.5)), (i + 0.5) / kRoundSlices, 1.0);
    builder.face({previous[std::size_t(i)], previous[std::size_t(i + 1)], tip});
  }
}

} // namespace

PrimitiveMesh cubeMesh(float width, float height, float depth) {
  const float w = 0.5f * std::fabs(width), h = 0.5f * std::fabs(height), d = 0.5f * std::fabs(depth);
  const Vector3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
  PrimitiveMesh mesh;
  MeshBuilder builder(mesh, 6);
  builder.startPart(0);
  cubeFace(builder, d * z, x, y, w, h);        // front
  builder.startPart(1);
  cubeFace(builder, -d * z, -x, y, w, h);      // back
  builder.startPart(3);
  cubeFace(builder, w * x, -z, y, d, h);       // right
  builder.startPart(2);
  cubeFace(builder, -w * x, z, y, d, h);       // left
  builder.startPart(4);
  cubeFace(builder, h * y, x, -z, w, d);       // top
  builder.startPart(5);
  cubeFace(builder, -h * y, x, z, w, d);       // bottom
  return mesh;
}

PrimitiveMesh sphereMesh(float radius) {
  const float r = std::fabs(radius);
  PrimitiveMesh mesh;
  MeshBuilder builder(mesh, 1);
  std::vector<int> previous;
  for (int j = 1; j < kSphereStacks; ++j) {
    double theta = kPi * j / kSphereStacks; // from the bottom pole
    double t = double(j) / kSphereStacks;
    std::vector<int> ring;
    for (int i = 0; i <= kRoundSlices; ++i) {
      Vector3 n = float(std::sin(theta)) * around(sliceAngle(i));
      n.y = float(-std::cos(theta));
      ring.push_back(builder.vertex(r * n, n, double(i) / kRoundSlices, t));
    }
    if (j > 1) builder.band(previous, ring);
    if (j == 1 || j == kSphereStacks - 1) {
      // The pole beyond this ring: one vertex per slice, so each has the s of its slice.
      const float pole = j == 1 ? -1.0f : 1.0f;
      for (int i = 0; i < kRoundSlices; ++i) {
        int tip = builder.vertex({0, pole * r, 0}, {0, pole, 0}, (i + 0.5) / kRoundSlices, j == 1 ? 0.0 : 1.0);
        builder.face({ring[std::size_t(i)], ring[std::size_t(i + 1)], tip});
      }
    }
    previous = std::move(ring);
  }
  return mesh;
}

PrimitiveMesh coneMesh(float bottomRadius, float height, bool sides, bool bottom) {
  const float r = std::fabs(bottomRadius), h = std::fabs(height);
  PrimitiveMesh mesh;
  MeshBuilder builder(mesh, 2);
  if (sides) roundSide(builder, r, 0, h);
  builder.startPart(1);
  if (bottom) disc(builder, r, -0.5f * h, false);
  return mesh;
}

PrimitiveMesh cylinderMesh(float radius, float height, bool sides, bool top, bool bottom) {
  const float r = std::fabs(radius), h = std::fabs(height);
  PrimitiveMesh mesh;
  MeshBuilder builder(mesh, 3);
  if (sides) roundSide(builder, r, r, h);
  builder.startPart(1);
  if (top) disc(builder, r, 0.5f * h, true);
  builder.startPart(2);
  if (bottom) disc(builder, r, -0.5f * h, false);
  return mesh;
}

} // namespace quillmere
