#include "mesh/face_set_mesh.h"

#include "diagnostics/diagnostics.h"
#include "mesh/face_triangulation.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace quillmere {

namespace {

Vector3 pointAt(const FaceSetSource& source, std::int32_t index) {
  const float* p = source.points[index];
  return Vector3(p[0], p[1], p[2]);
}

// Newell's normal of a face: twice its area along the normal of its best
// plane, right-handed about the corners in list order. Every edge counts
// once, so concave and slightly non-planar faces get the normal they look
// like they have; a degenerate face gets the zero vector.
Vector3 newellNormal(const FaceSetSource& source, const FaceRun& face) {
  Vector3 sum;
  for (long k = face.begin; k < face.end; ++k) {
    Vector3 a = pointAt(source, source.coordIndex[k]);
    Vector3 b = pointAt(source, source.coordIndex[k + 1 < face.end ? k + 1 : face.begin]);
    sum += Vector3((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
  }
  return sum;
}

Vector3 unitOrZero(const Vector3& v) {
  float length = v.length();
  return std::isfinite(length) && length > 0.0f ? (1.0f / length) * v : Vector3();
}

constexpr long kMaxSmoothedFaces = 256; // faces around one point that smoothing looks at

// The normals the geometry gives every corner position of the kept faces:
// the sum of the Newell normals of the faces around the corner's point that
// meet the corner's face at less than the crease angle (the face itself
// always), normalised. The sum weighs faces by their area.
class GeneratedNormals {
public:
  GeneratedNormals(const FaceSetSource& source, const FaceTriangulation& faces) {
    const std::size_t faceCount = faces.faces.size();
    newell_.resize(faceCount);
    unit_.resize(faceCount);
    for (std::size_t f = 0; f < faceCount; ++f) {
      newell_[f] = newellNormal(source, faces.faces[f]);
      if (source.clockwise) newell_[f] = -newell_[f];
      unit_[f] = unitOrZero(newell_[f]);
    }
    // The faces around every point, as offsets into one list.
    std::vector<long> start(std::size_t(source.pointCount) + 1, 0);
    for (const FaceRun& face : faces.faces)
      for (long k = face.begin; k < face.end; ++k) ++start[std::size_t(source.coordIndex[k]) + 1];
    for (std::size_t p = 0; p < std::size_t(source.pointCount); ++p) start[p + 1] += start[p];
    std::vector<long> fill(start.begin(), start.end() - 1);
    std::vector<long> around(std::size_t(start.back()));
    for (std::size_t f = 0; f < faceCount; ++f)
      for (long k = faces.faces[f].begin; k < faces.faces[f].end; ++k)
        around[std::size_t(fill[std::size_t(source.coordIndex[k])]++)] = long(f);

    const float cosCrease = std::cos(source.creaseAngle);
    byPosition_.resize(std::size_t(source.coordIndexCount));
    for (std::size_t f = 0; f < faceCount; ++f) {
      const FaceRun& face = faces.faces[f];
      for (long k = face.begin; k < face.end; ++k) {
        std::size_t p = std::size_t(source.coordIndex[k]);
        // Smoothing compares the face with every face around the point, so a
        // point shared by a huge fan would cost the square of its faces: past
        // kMaxSmoothedFaces the corner keeps its own face's normal.
        if (start[p + 1] - start[p] > kMaxSmoothedFaces) {
          byPosition_[std::size_t(k)] = unit_[f].length() > 0.0f ? unit_[f] : Vector3(0, 0, 1);
          continue;
        }
        Vector3 sum;
        long previous = -1;
        for (long a = start[p]; a < start[p + 1]; ++a) {
          long g = around[std::size_t(a)];
          if (g == previous) continue; // a face that names the point twice counts once
          previous = g;
          if (std::size_t(g) == f || dot(unit_[f], unit_[std::size_t(g)]) > cosCrease) sum += newell_[std::size_t(g)];
        }
        Vector3 normal = unitOrZero(sum);
        byPosition_[std::size_t(k)] = normal.length() > 0.0f ? normal : Vector3(0, 0, 1);
      }
    }
  }

  const Vector3& at(long position) const { return byPosition_[std::size_t(position)]; }

private:
  std::vector<Vector3> newell_;     // per kept face
  std::vector<Vector3> unit_;       // per kept face, zero when degenerate
  std::vector<Vector3> byPosition_; // per position in coordIndex (kept faces only)
};

std::uint32_t bitsOf(float value) {
  if (value == 0.0f) value = 0.0f; // −0 and +0 are one normal
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

bool sameBits(const Vector3& a, const Vector3& b) {
  return bitsOf(a.x) == bitsOf(b.x) && bitsOf(a.y) == bitsOf(b.y) && bitsOf(a.z) == bitsOf(b.z);
}

// A vertex is one point with one normal, one texture coordinate and one
// material. The vertices made so far are found through their point: each
// point's vertices form a chain, newest first. A point shared by very many
// corners that all differ would make the search quadratic, so it looks at
// kMaxChainSearch vertices at most and makes a new vertex after them (a
// vertex twice costs memory, never a wrong picture).
constexpr int kMaxChainSearch = 64;

class VertexChains {
public:
  VertexChains(int pointCount, const FaceSetMesh& mesh) : newest_(std::size_t(pointCount), -1), mesh_(mesh) {}

  // The vertex of `point` with this normal, texture coordinate and material; -1 if none was made.
  int find(std::int32_t point, const Vector3& normal, int texCoord, int material) const {
    int searched = 0;
    for (int v = newest_[std::size_t(point)]; v >= 0 && searched < kMaxChainSearch;
         v = next_[std::size_t(v)], ++searched)
      if (texCoords_[std::size_t(v)] == texCoord &&
          (mesh_.vertexMaterials.empty() || mesh_.vertexMaterials[std::size_t(v)] == material) &&
          sameBits(mesh_.vertices[std::size_t(v)].normal, normal))
        return v;
    return -1;
  }

  // Records the mesh's newest vertex as one of `point`'s.
  void add(std::int32_t point, int texCoord) {
    const int vertex = int(next_.size());
    next_.push_back(newest_[std::size_t(point)]);
    texCoords_.push_back(texCoord);
    newest_[std::size_t(point)] = vertex;
  }

private:
  std::vector<int> newest_;    // per point: its newest vertex, -1 for none
  std::vector<int> next_;      // per vertex: the point's vertex made before it
  std::vector<int> texCoords_; // per vertex: its texture coordinate's index, -1 for none
  const FaceSetMesh& mesh_;
};

// What a binding says of one corner, whatever it binds.
enum class Lookup { None, Overall, PerFace, PerFaceIndexed, PerVertex, PerVertexIndexed };

// The entry a binding names for the corner at `position` of `face`, by the
// index list `list` where the binding is indexed (an indexed binding
// without a list takes the coordinate indices); -1 when the binding and the
// list cannot say. The caller checks the entry against what there is.
long boundIndex(Lookup lookup, const std::int32_t* list, long listCount, const FaceSetSource& source,
                const FaceRun& face, long position) {
  switch (lookup) {
  case Lookup::Overall: return 0;
  case Lookup::PerFace: return face.number;
  case Lookup::PerFaceIndexed: return list && face.number < listCount ? list[face.number] : -1;
  case Lookup::PerVertex: return face.firstCorner + (position - face.begin);
  case Lookup::PerVertexIndexed:
    if (!list) return source.coordIndex[position];
    return position < listCount ? list[position] : -1;
  case Lookup::None: break;
  }
  return -1;
}

Lookup normalLookup(FaceNormalBinding binding) {
  switch (binding) {
  case FaceNormalBinding::Overall: return Lookup::Overall;
  case FaceNormalBinding::PerFace: return Lookup::PerFace;
  case FaceNormalBinding::PerFaceIndexed: return Lookup::PerFaceIndexed;
  case FaceNormalBinding::PerVertex: return Lookup::PerVertex;
  case FaceNormalBinding::PerVertexIndexed: return Lookup::PerVertexIndexed;
  case FaceNormalBinding::Generated: break;
  }
  return Lookup::None;
}

Lookup materialLookup(FaceMaterialBinding binding) {
  switch (binding) {
  case FaceMaterialBinding::PerFace: return Lookup::PerFace;
  case FaceMaterialBinding::PerFaceIndexed: return Lookup::PerFaceIndexed;
  case FaceMaterialBinding::PerVertex: return Lookup::PerVertex;
  case FaceMaterialBinding::PerVertexIndexed: return Lookup::PerVertexIndexed;
  case FaceMaterialBinding::Overall: break;
  }
  return Lookup::None;
}

// The given normal's index for a corner; -1 when there is none to give.
long givenNormalIndex(const FaceSetSource& source, const FaceRun& face, long position) {
  if (!source.normals) return -1;
  long index = boundIndex(normalLookup(source.normalBinding), source.normalIndex, source.normalIndexCount, source,
                          face, position);
  return index >= 0 && index < source.normalCount ? index : -1;
}

// The material number of a corner; -1 when the binding cannot name one.
long boundMaterial(const FaceSetSource& source, const FaceRun& face, long position) {
  long index = boundIndex(materialLookup(source.materialBinding), source.materialIndex, source.materialIndexCount,
                          source, face, position);
  return index >= 0 && index < source.materialCount ? index : -1;
}

} // namespace

FaceSetMesh buildFaceSetMesh(const FaceSetSource& source) {
  FaceSetMesh mesh;
  FaceTriangulation faces = triangulateFaces(source.coordIndex, source.coordIndexCount, source.pointCount,
                                            source.convexFaces ? nullptr : source.points);
  mesh.facesLeftOut = faces.facesLeftOut;
  if (mesh.facesLeftOut > 0)
    printWarning("IndexedFaceSet: %ld faces left out, their vertex indices are outside the %d points\n",
                 mesh.facesLeftOut, source.pointCount);

  // Texture coordinates by their own index list, else one per point.
  const bool ownTexIndex = source.texCoords && source.texCoordIndex;
  mesh.textured = ownTexIndex || (source.texCoords && source.texCoordCount == source.pointCount);
  if (source.texCoords && !mesh.textured) {
    printWarning("#Texture Coordinates != #Coordinate\n");
    std::fprintf(stderr, "#Texture coordinates: %d\n#Coordinates: %d\n", source.texCoordCount, source.pointCount);
  }

  const std::size_t cornerCount = faces.corners.size();
  std::vector<int> normalOf(cornerCount); // the given normal of each corner, -1 for none
  long missingNormals = 0;
  for (std::size_t c = 0; c < cornerCount; ++c) {
    const FaceRun& face = faces.faces[std::size_t(faces.triangleFaces[c / 3])];
    normalOf[c] = int(givenNormalIndex(source, face, faces.corners[c]));
    if (normalOf[c] < 0) ++missingNormals;
  }
  mesh.generatedCorners = missingNormals;
  if (missingNormals > 0 && source.normalBinding != FaceNormalBinding::Generated)
    printWarning("IndexedFaceSet: %ld of %zu triangle corners have no normal among the %d normals "
                 "(normalIndex: %ld entries, %ld faces); their normals are generated\n",
                 missingNormals, cornerCount, source.normalCount, source.normalIndex ? source.normalIndexCount : 0L,
                 faces.faceCount);
  std::unique_ptr<GeneratedNormals> generated;
  if (missingNormals > 0) generated = std::make_unique<GeneratedNormals>(source, faces);

  const bool perVertexMaterials = source.materialBinding != FaceMaterialBinding::Overall && source.materialCount > 0;
  long missingMaterials = 0;
  long missingTexCoords = 0;
  VertexChains chains(source.pointCount, mesh);
  mesh.triangles.resize(cornerCount);
  for (std::size_t c = 0; c < cornerCount; ++c) {
    const long position = faces.corners[c];
    const std::int32_t point = source.coordIndex[position];
    Vector3 normal = normalOf[c] >= 0 ? Vector3(source.normals[normalOf[c]][0], source.normals[normalOf[c]][1],
                                                source.normals[normalOf[c]][2])
                                      : generated->at(position);
    int texCoord = -1;
    if (mesh.textured) {
      long index = point;
      if (ownTexIndex) index = position < source.texCoordIndexCount ? source.texCoordIndex[position] : -1;
      if (index >= 0 && index < source.texCoordCount)
        texCoord = int(index);
      else
        ++missingTexCoords;
    }
    int material = -1;
    if (perVertexMaterials) {
      const FaceRun& face = faces.faces[std::size_t(faces.triangleFaces[c / 3])];
      material = int(boundMaterial(source, face, position));
      if (material < 0) {
        ++missingMaterials;
        material = 0;
      }
    }
    int vertexIndex = chains.find(point, normal, texCoord, material);
    if (vertexIndex < 0) {
      vertexIndex = int(mesh.vertices.size());
      DvVertex vertex;
      vertex.position = pointAt(source, point);
      vertex.normal = normal;
      if (texCoord >= 0) {
        vertex.texCoord[0] = source.texCoords[texCoord][0];
        vertex.texCoord[1] = source.texCoords[texCoord][1];
      }
      mesh.vertices.push_back(vertex);
      if (perVertexMaterials) mesh.vertexMaterials.push_back(material);
      chains.add(point, texCoord);
    }
    // Clockwise faces: the second and third corner of every triangle swap.
    std::size_t slot = c;
    if (source.clockwise && c % 3 != 0) slot = c % 3 == 1 ? c + 1 : c - 1;
    mesh.triangles[slot] = vertexIndex;
  }
  if (missingTexCoords > 0)
    printWarning("IndexedFaceSet: %ld of %zu triangle corners have no texture coordinate among the %d given "
                 "(textureCoordIndex: %ld entries); they take (0, 0)\n",
                 missingTexCoords, cornerCount, source.texCoordCount,
                 ownTexIndex ? source.texCoordIndexCount : 0L);
  if (missingMaterials > 0)
    printWarning("IndexedFaceSet: %ld of %zu triangle corners have no material among the %d given "
                 "(materialIndex: %ld entries, %ld faces); they take the first\n",
                 missingMaterials, cornerCount, source.materialCount,
                 source.materialIndex ? source.materialIndexCount : 0L, faces.faceCount);
  return mesh;
}

} // namespace quillmere
