// The vertices and triangles of a face set as the scene file describes them.
// When every point has one normal (and at most one texture coordinate) the
// vertices are the points themselves; otherwise a vertex is made for every
// distinct (point, normal, texture coordinate, material) the face corners
// need, so a point on a crease, a texture seam or a colour boundary becomes
// several vertices.
#pragma once

#include "mesh/vertex.h"

#include <cstdint>
#include <vector>

namespace quillmere {

// How the given normals are looked up for each face corner.
enum class FaceNormalBinding {
  PerVertexIndexed, // normalIndex per corner, or the point's own index without one
  Overall,          // the first normal everywhere
  PerFace,          // normal f for face f
  PerFaceIndexed,   // normalIndex[f] for face f
  PerVertex,        // normals in the order of the corners
  Generated,        // none given: computed from the geometry
};

// How the materials of a Material with several values are handed out.
enum class FaceMaterialBinding {
  Overall,          // one material for the whole set
  PerFace,          // material f for face f
  PerFaceIndexed,   // materialIndex[f] for face f
  PerVertex,        // materials in the order of the corners
  PerVertexIndexed, // materialIndex per corner, or the point's own index without one
};

// What a face set is built from, as the scene file gives it.
struct FaceSetSource {
  const float (*points)[3] = nullptr;
  int pointCount = 0;
  const float (*normals)[3] = nullptr;
  int normalCount = 0;
  bool overallNormal = false;             // the first normal for every point; else normal i for point i
  const float (*texCoords)[2] = nullptr;  // null: none
  int texCoordCount = 0;
  const std::int32_t* coordIndex = nullptr;
  long coordIndexCount = 0;
  bool convexFaces = true;                // false: faces may be concave and are cut into ears in their plane

  // Used by buildFaceSetMesh only.
  FaceNormalBinding normalBinding = FaceNormalBinding::PerVertexIndexed;
  const std::int32_t* normalIndex = nullptr;   // null: not given
  long normalIndexCount = 0;
  const std::int32_t* texCoordIndex = nullptr; // null: the coordinate indices, when there is one per point
  long texCoordIndexCount = 0;
  FaceMaterialBinding materialBinding = FaceMaterialBinding::Overall;
  int materialCount = 0;                       // the materials there are to hand out
  const std::int32_t* materialIndex = nullptr; // null: not given
  long materialIndexCount = 0;
  bool clockwise = false;    // faces wind clockwise seen from their front
  float creaseAngle = 0.5f;  // radians: generated normals are smoothed across smaller angles
};

struct FaceSetMesh {
  std::vector<DvVertex> vertices;
  std::vector<int> triangles; // three vertex indices per triangle, counter-clockwise seen from the front
  bool textured = false;
  long facesLeftOut = 0;
  long generatedCorners = 0;  // corners whose normal came from the geometry
  // Per vertex, its material's number (0 .. materialCount − 1); empty when
  // the binding is Overall or there are no materials to hand out.
  std::vector<int> vertexMaterials;
};

// The faces fan-triangulated, one vertex per distinct corner. Corners the
// given normals cannot describe (no normals, a short or out-of-range index
// list) get normals from the geometry: each face's normal by Newell's method,
// averaged (area-weighted) with the faces around the point that meet it at
// less than the crease angle. Clockwise faces have their triangles reversed
// and their generated normals turned to the other side. Corners whose
// material the binding cannot name take material 0. Gaps in the index
// lists are reported once, with counts.
FaceSetMesh buildFaceSetMesh(const FaceSetSource& source);

} // namespace quillmere
