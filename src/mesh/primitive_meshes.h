// The meshes of the primitive shapes (cube, sphere, cone, cylinder) in the
// shapes' own coordinates: centred at the origin, their axis along y. Every
// vertex carries an outward unit normal and texture coordinates; every face
// is wound counter-clockwise seen from outside.
//
// Texture coordinates: each cube face shows the whole image (s, t from 0 to
// 1), upright on the four side faces seen from outside, on the top face when
// it is tipped forward towards +z, on the bottom face when it is tipped back
// towards -z. Round sides take s around the y axis, starting at the back
// (-z) and going counter-clockwise seen from above (through -x, +z, +x), and
// t from 0 at the bottom to 1 at the top; the sphere's seam at the back has
// its vertices twice (s = 0 and s = 1). Discs take the image as a square
// laid over them, oriented like the cube's top and bottom faces.
//
// The observer's view moves vertices and keeps the edges between them
// straight, so the shapes are cut finely enough to bend visibly:
#pragma once

#include "mesh/face_set_mesh.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillmere {

constexpr int kCubeFaceDivisions = 8; // each cube face an 8 × 8 grid of quads, its own vertices at the edges
constexpr int kRoundSlices = 48;      // around the axis: sphere, cone and cylinder
constexpr int kSphereStacks = 24;     // pole to pole; triangles at the poles, quads between
constexpr int kSideRings = 8;         // cone and cylinder sides along the height; triangles at the cone's apex
constexpr int kDiscRings = 4;         // cone and cylinder discs from the centre out; triangles at the centre

struct PrimitiveMesh {
  std::vector<std::array<float, 3>> points;
  std::vector<std::array<float, 3>> normals;   // one per point
  std::vector<std::array<float, 2>> texCoords; // one per point
  std::vector<std::int32_t> coordIndex;        // each face ended by -1
  std::vector<int> parts;                      // per point: the part it belongs to (see below)
  int partCount = 1;                           // the parts the shape has, present or not

  // The mesh as a face set's source; valid while the mesh lives.
  FaceSetSource source() const;
};

// The parts, whose materials a binding per part or per face hands out in
// this order: the cube's faces front (+z), back, left (−x), right, top (+y),
// bottom; the cylinder's sides, top and bottom; the cone's sides and bottom.
// A sphere is one part. A part left out keeps its number.
//
// Sizes are taken by magnitude. Triangles: the cube 6 · 2 · 8² = 768; the
// sphere 2 · 48 (poles) + 2 · 48 · 22 = 2208; the cylinder's side
// 2 · 48 · 8 = 768 and each disc 48 + 2 · 48 · 3 = 336; the cone's side
// 48 (apex) + 2 · 48 · 7 = 720 and its disc 336.
PrimitiveMesh cubeMesh(float width, float height, float depth);
PrimitiveMesh sphereMesh(float radius);
PrimitiveMesh coneMesh(float bottomRadius, float height, bool sides, bool bottom);
PrimitiveMesh cylinderMesh(float radius, float height, bool sides, bool top, bool bottom);

} // namespace quillmere
