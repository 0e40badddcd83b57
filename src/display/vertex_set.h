// What face sets and line sets share: the source vertices (world
// coordinates), one transformed array per eye written every frame, the index
// list, the OpenGL material and the spectral material, the per-vertex
// Doppler factors, and the per-vertex spectral colours of the spectral path.
// Every array is sized when the set is built; the per-frame operations
// allocate nothing (the spectral path's scratch and the second eye's array
// are made on their first use).
#pragma once

#include "display/display_node.h"
#include "display/material.h"
#include "display/spectral_material.h"
#include "mesh/vertex.h"
#include "mesh/vertex_material.h"
#include "relativity/matrix.h"

#include <memory>
#include <utility>
#include <vector>

namespace quillmere {

class ColourPipeline;
class RgbSpectrum;
struct MovingFrameState;

class DvVertexSet : public DvNode {
public:
  // The shape's own OpenGL material (owned, shared with nothing).
  void setMaterial(std::unique_ptr<DvMaterial> material);
  // The spectral material from a relativistic material node (owned).
  void setRelMaterial(std::unique_ptr<DvSpectralMaterial> material) { relMaterial_ = std::move(material); }
  const DvMaterial* material() const { return material_.get(); }
  const RelMaterial* relMaterial() const { return relMaterial_ ? &relMaterial_->record : nullptr; }

  // One material per source vertex, where the Material is bound per face or
  // per vertex: each takes the place of the shape material's colours and
  // transparency at its vertex (its ambient and diffuse colours are the
  // targets of the spectral path). An empty list: the shape's material
  // everywhere; a list of another length is not taken.
  void setVertexMaterials(std::vector<VertexMaterial> materials);
  const std::vector<VertexMaterial>& vertexMaterials() const { return vertexMaterials_; }

  // Two-sided shapes show both sides of their faces, lit: a surface open to
  // view from behind, or whose faces wind either way.
  void setTwoSided(bool twoSided) { twoSided_ = twoSided; }
  bool twoSided() const { return twoSided_; }

  // Carries the positions into world coordinates; face sets also carry normals.
  virtual void setTransformation(const Matrix4& modelling);
  // Copies every source vertex into both transformed arrays.
  void resetTransformedVertices();

  int vertexCount() const { return int(vertices_.size()); }
  long indexCount() const { return long(indices_.size()); }
  const DvVertex* vertices() const { return vertices_.data(); }
  // Eye 1 before its first transform: the first eye's array.
  const DvVertex* transformedVertices(int eye) const {
    return eye == 1 && !stereo_.empty() ? stereo_.data() : transformed_.data();
  }
  const int* indices() const { return indices_.data(); }
  float dopplerFactor(int vertex) const { return doppler_[std::size_t(vertex)]; }
  // The spectral colour of every vertex for the current eye, as a spectral
  // draw computes it before it emits the indices (no OpenGL call).
  void shadeVertices(const DvRenderState& state, const DrawPass& pass) {
    computeSpectralColours(state, eyeArray(state, pass));
  }
  // The colour the last spectral draw gave each vertex (empty before one).
  const std::vector<Vector3>& spectralColours() const { return colours_; }

  void countPrimitives(long& fewestVertices, long& mostVertices, long& fewestIndices,
                       long& mostIndices) const override;
  // The box of the source positions; (0, 0, 0) twice without vertices. Always 1.
  int getBoundingBox(Vector3& min, Vector3& max) const override;

protected:
  DvVertexSet(std::vector<DvVertex> vertices, std::vector<int> indices);

  DvMaterial* ownMaterial() { return material_.get(); }

  // The array of the eye being transformed or drawn.
  DvVertex* eyeArray(const DvRenderState& state, const DrawPass& pass);

  // Around a two-sided shape's drawing when the render state culls back
  // faces: no culling and two-sided lighting, then the state's own again.
  void beginTwoSided(const DvRenderState& state) const;
  void endTwoSided(const DvRenderState& state) const;

  // Writes where the observer sees every vertex into the current eye's array
  // (position, and normal when `withNormals`), and the Doppler factors when
  // the spectral path will need them. Returns the array written. Large sets
  // are shared among state.threads threads in runs of whole blocks; every
  // thread count writes the same values.
  DvVertex* transformVertices(const RelObserver& observer, const DvRenderState& state, const DrawPass& pass,
                              FrameHolder& frameHolder,
                              bool withNormals);

  // Shades every vertex of `array` once for this draw into spectralColours():
  // the spectrum seen from the vertex under the spectral lights (Doppler
  // shifted when the render state asks), converted to RGB, brightened by the
  // searchlight factor when asked, and brought into the gamut. A two-sided
  // shape is shaded on the side the observer sees.
  void computeSpectralColours(const DvRenderState& state, const DvVertex* array);

  // Widens the holder's apparent depth range by the set's source box, its
  // corners carried as the vertices are.
  void gatherApparentExtent(const RelObserver& observer, const DvRenderState& state, const MovingFrameState& frame,
                            FrameHolder& frameHolder) const;

  std::vector<DvVertex> vertices_;    // source, world coordinates; call sourceChanged() after changing them
  std::vector<DvVertex> transformed_; // first (or only) eye
  std::vector<DvVertex> stereo_;      // second eye, made on its first transform
  std::vector<int> indices_;          // face sets: three per triangle; line sets: strips ended by -1
  std::vector<float> doppler_;        // per vertex, D of the last transform that needed it
  std::vector<VertexMaterial> vertexMaterials_; // per vertex, or empty
  bool materialsDifferInDiffuseOnly_ = true;    // ambient, specular and emissive alike at every vertex
  bool anyVertexTransparent_ = false;
  bool twoSided_ = false;

  // Forgets the source box, so the next frame measures the moved vertices.
  void sourceChanged() { sourceBoxKnown_ = false; }

private:
  mutable bool sourceBoxKnown_ = false; // sourceMin_ and sourceMax_ hold the box of vertices_
  mutable Vector3 sourceMin_, sourceMax_;
  const RelMaterial& spectralMaterial(const ColourPipeline* pipeline);
  // Aims the RGB spectra of a RELmaterialRGB through the pipeline's model
  // (the system's conversion without a cie pipeline).
  void aimRgbSpectra(const ColourPipeline* pipeline);
  // Per vertex four triples: the sigmoid coefficients of the ambient and
  // diffuse colours (smooth uplift; zero otherwise), then their linear
  // targets; remade when the pipeline's uplift changes.
  const Vector3* upliftedVertexMaterials(const ColourPipeline& pipeline);

  std::unique_ptr<DvMaterial> material_;                 // owned
  std::unique_ptr<DvSpectralMaterial> relMaterial_;      // from a relativistic material node
  std::unique_ptr<DvSpectralMaterial> rgbMaterial_;      // from material_, made on the first spectral draw
  int rgbMaterialGeneration_ = -1;                       // the pipeline's uplift generation it was made for
  std::vector<std::pair<RgbSpectrum*, Vector3>> rgbTargets_; // relMaterial_'s RGB spectra and their file colours
  std::vector<Vector3> upliftedMaterials_;               // ambient, diffuse per vertex; see upliftedVertexMaterials
  int upliftedGeneration_ = -1;
  std::vector<Vector3> colours_;                         // per vertex, this draw's spectral colour
};

} // namespace quillmere
