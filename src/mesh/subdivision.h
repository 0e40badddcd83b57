// Splits the triangles of a mesh until no edge is longer than a given length,
// so that the observer's view, which moves vertices but keeps the edges
// between them straight, can bend long edges. Each step halves a triangle
// across its longest edge at that edge's midpoint; a midpoint is made once
// per edge and shared by both triangles that meet there, so the mesh stays
// without cracks. Positions, normals and texture coordinates are
// interpolated; world coordinates.
#pragma once

#include "mesh/vertex.h"

#include <array>
#include <cstddef>
#include <vector>

namespace quillmere {

// `triangles` holds three vertex indices per triangle and `areas` one value
// per triangle (halved with each split, so it keeps meaning "this part's
// share of the area as the file gave it"). Stops making vertices at
// `maxVertices` and returns false then (some edges stay longer). With
// `madeBetween`, the two ends of every vertex made are appended to it in the
// order the vertices are made, so other per-vertex data can follow.
bool subdivideTriangles(std::vector<DvVertex>& vertices, std::vector<int>& triangles, std::vector<float>& areas,
                        float maxEdgeLength, std::size_t maxVertices,
                        std::vector<std::array<int, 2>>* madeBetween = nullptr);

} // namespace quillmere
