// The display scene: a tree of display nodes built once from a parsed scene
// file and driven every frame through one fixed set of operations —
// transform for the observer, draw with OpenGL lighting or with spectral
// colours, prepare textures, and a few inspections. A depth-first walk over
// the groups visits the nodes in the scene file's order, and nodes that change
// OpenGL or frame-of-reference state act on everything visited after them.
#pragma once

#include "relativity/vector.h"

namespace quillmere {

class DvRenderState;
struct DrawPass;
class FrameTransformation;
class RelObserver;

// The one cell through which the frame of reference in force reaches the
// shapes after it in display-list order. The display manager owns it and
// hands the same cell to the root in every transform; each RelFrame sets it.
// The walk also gathers how near and how far the shapes it transformed
// appear to the observer, for the depth range of the frame.
struct FrameHolder {
  const FrameTransformation* frame = nullptr; // not owned; null until the first RelFrame
  float nearestApparent = -1;  // scene units from the eye to the nearest shape's apparent box; -1: none yet
  float farthestApparent = -1; // to the farthest apparent box corner; -1: none yet
};

class DvNode {
public:
  // Class codes returned by getType.
  enum Type { IndexedFaceSetType = 1, MaterialType = 2, Texture2Type = 3, GroupType = 5, IndexedLineSetType = 7,
              FrameType = 8 };

  virtual ~DvNode() = default;
  DvNode(const DvNode&) = delete;
  DvNode& operator=(const DvNode&) = delete;

  // Draws with OpenGL materials and lighting.
  virtual void render(const DvRenderState& state, const DrawPass& pass) = 0;
  virtual int getType() const = 0;

  // The operations below do nothing unless a node takes part in them:
  // property nodes (materials, textures) have no vertices to move, count,
  // measure or draw in spectral colours.

  // Per frame and per eye: moves every vertex to where the observer sees it.
  virtual void relativisticTransform(const RelObserver&, const DvRenderState&, const DrawPass&, FrameHolder&) {}
  // Draws with colours the system computes from spectra.
  virtual void renderSoftware(const DvRenderState&, const DrawPass&) {}
  // Adds vertex and index counts: (fewest vertices, most vertices, fewest
  // indices, most indices) — an LOD adds its coarsest level to the first
  // pair and its finest to the second.
  virtual void countPrimitives(long& /*fewestVertices*/, long& /*mostVertices*/, long& /*fewestIndices*/,
                               long& /*mostIndices*/) const {}
  // Axis-aligned box of the node's source vertices; 0 when it has none.
  virtual int getBoundingBox(Vector3& /*min*/, Vector3& /*max*/) const { return 0; }
  // Per-vertex ratios of source to apparent triangle area (face sets).
  virtual void computeAreaRatios() {}
  // Builds OpenGL texture objects and display lists; once, after loading.
  virtual void compileTexture(DvRenderState&) {}

protected:
  DvNode() = default;
};

} // namespace quillmere
