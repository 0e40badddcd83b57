// The display node of every visible surface: a triangle mesh in world
// coordinates whose vertices move, once per frame and per eye, to where the
// observer sees them, drawn with OpenGL lighting (`render`) or with
// per-vertex colours computed from spectra (`renderSoftware`).
#pragma once

#include "mesh/face_set_mesh.h"
#include "display/vertex_set.h"
#include "gl/render_settings.h"

#include <cstdint>

namespace quillmere {

class DvIndexedFaceSet : public DvVertexSet {
public:
  // Vertex i is point i with its normal (a missing normal reads (0, 0, 1));
  // texture coordinates are taken only when there is one per point. Faces
  // are fan-triangulated; faces with indices outside the points are left
  // out with one warning.
  explicit DvIndexedFaceSet(const FaceSetSource& source);
  // The vertices and triangles as buildFaceSetMesh made them.
  explicit DvIndexedFaceSet(FaceSetMesh mesh);

  // Positions by M, normals by the inverse transpose of M, renormalised.
  void setTransformation(const Matrix4& modelling) override;
  // Texture coordinates (s, t, 0, 1) by T.
  void setTextureTransformation(const Matrix4& texture);
  // Splits triangles (in world coordinates) until no edge is longer than
  // `maxEdgeLength`, making at most `maxVertices` vertices in all; false when
  // that cap stopped it. A vertex made takes the mean of its two ends'
  // materials. Before resetTransformedVertices.
  bool subdivide(float maxEdgeLength, std::size_t maxVertices);

  bool hasTextureCoordinates() const { return hasTextureCoordinates_ != 0; }
  // Turns every triangle whose winding disagrees with its vertices' normals,
  // so that two-sided lighting lights the side the normals face (files give
  // normals and windings that disagree). After setTransformation.
  void windTowardsNormals();
  // The set is drawn untextured: no texture with an image is in its scope.
  void dropTextureCoordinates() { hasTextureCoordinates_ = 0; }
  long triangleCount() const { return indexCount() / 3; }
  long facesLeftOut() const { return facesLeftOut_; }
  float triangleArea(long triangle) const { return areas_[std::size_t(triangle)]; }
  float areaRatio(int vertex) const { return areaRatios_[std::size_t(vertex)]; }

  void render(const DvRenderState& state, const DrawPass& pass) override;
  // Also refreshes the area ratios when the OpenGL path scales materials by them.
  void relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                             FrameHolder& frameHolder) override;
  void renderSoftware(const DvRenderState& state, const DrawPass& pass) override;
  // Per vertex: the mean over its triangles of source area / apparent area,
  // from the array of the last transform. Degenerate apparent triangles
  // count for nothing; a vertex with none keeps the ratio 1.
  void computeAreaRatios() override;
  int getType() const override { return IndexedFaceSetType; }

private:
  // The triangle areas and the per-vertex work arrays, then the transformed arrays.
  void prepareTriangles();
  // Wireframe and outline draw each triangle's edges, hidden line bare
  // triangles (both paths alike); false for any other style.
  bool drawUnlitStyle(RenderStyle style, const DvVertex* array, const VertexMaterial* materials = nullptr) const;
  // Styles 0 and 1 from vertex arrays; `colours` per vertex on the spectral
  // path, the vertices' diffuse colours through the colour material on the
  // OpenGL path with `materials`.
  void drawTriangleArrays(const DvVertex* array, bool normals, bool textured, const Vector3* colours,
                          const VertexMaterial* materials = nullptr) const;
  // Styles 0 and 1 one vertex at a time, for materials that change per
  // vertex: scaled by the area ratios when `scaled`, the vertices' own materials when there are.
  void drawTrianglesPerVertex(const DvVertex* array, bool textured, bool scaled) const;
  // `materials`: each vertex in its own diffuse colour.
  void drawEdges(const DvVertex* array, const VertexMaterial* materials) const;
  void drawBareTriangles(const DvVertex* array) const;

  std::vector<float> areas_;        // per triangle, from the positions as the file gave them
  std::vector<float> areaRatios_;   // per vertex
  std::vector<int> areaCounts_;     // per vertex, work array of computeAreaRatios
  int hasTextureCoordinates_ = 0;   // flag
  long facesLeftOut_ = 0;
  const DvVertex* lastTransformed_; // the array the last transform wrote
};

} // namespace quillmere
