// The display node of an IndexedLineSet: polylines whose vertices move for
// the observer like a face set's (positions only; every normal is (0, 1, 0)),
// drawn as OpenGL line strips. It has no relativistic material of its own.
#pragma once

#include "display/vertex_set.h"

#include <cstdint>

namespace quillmere {

class DvIndexedLineSet : public DvVertexSet {
public:
  // Vertex i is point i with normal (0, 1, 0); the index list keeps its -1
  // separators. An index outside the points (or negative other than -1)
  // breaks the strip there: the vertex is left out, with one warning.
  DvIndexedLineSet(const float (*points)[3], int pointCount, const std::int32_t* coordIndex, long coordIndexCount);

  long verticesLeftOut() const { return verticesLeftOut_; }
  // A point set: every index is drawn as a point, not joined into strips.
  void setDrawsPoints(bool points) { drawsPoints_ = points; }
  bool drawsPoints() const { return drawsPoints_; }
  // Vertices drawn: the index entries that are not separators.
  long lineVertexCount() const;

  void render(const DvRenderState& state, const DrawPass& pass) override;
  void relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                             FrameHolder& frameHolder) override;
  void renderSoftware(const DvRenderState& state, const DrawPass& pass) override;
  int getType() const override { return IndexedLineSetType; }

private:
  // `colours`: one colour per vertex (the spectral path); `materials`: one
  // material per vertex (the OpenGL path), sent as its unlit colour.
  void drawStrips(const DvVertex* array, const Vector3* colours, const VertexMaterial* materials = nullptr) const;
  // Sends vertex `index` with its colour or material, when given.
  void sendVertex(const DvVertex* array, int index, const Vector3* colours, const VertexMaterial* materials) const;

  long verticesLeftOut_ = 0;
  bool drawsPoints_ = false; // GL points instead of line strips
};

} // namespace quillmere
