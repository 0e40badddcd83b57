// Builds the display scene of a parsed scene file: one walk, depth first in
// child order, resolving property inheritance into each shape as it is met.
// Modelling transforms are applied to the shapes' vertices once (the display
// scene holds world coordinates); frames of reference (and textures) become
// display nodes at the place where they stood and act on what follows them.
#pragma once

#include "scene/scene_camera.h"

#include <optional>
#include <string>

namespace quillmere {

class DvGroup;
class QvNode;

// What a conversion built; DEF/USE shapes count once per use.
struct ConversionSummary {
  long faceSets = 0;
  long triangles = 0;
  long lineSets = 0;
  long lineVertices = 0;     // index entries drawn (separators not counted)
  long pointSets = 0;
  long lods = 0;
  long frames = 0;           // the file's RELframes, not the root's rest frame
  long textures = 0;
  long materials = 0;        // one per shape under a Material
  long displayVertices = 0;  // source vertices of every face and line set
};

struct ConversionResult {
  bool ok = true;
  std::string error; // what ended the conversion (no trailing newline) when not ok
  ConversionSummary summary;
  std::optional<SceneCamera> camera; // the source's first camera, when it has one
};

// A conversion stops building at this many display vertices in all, with one
// warning: a mesh reached through many USEs can multiply beyond memory.
constexpr long kMaxDisplayVertices = 50000000;

struct ConversionOptions {
  long maxDisplayVertices = kMaxDisplayVertices;
  float maxEdgeLength = 0; // scene units: triangles are split until no edge is longer; 0: off
  std::string sceneFolder; // where relative texture file names are looked up first; empty: only the current directory
};

// Appends to `sceneRoot` the default material, the rest frame, and the
// display nodes of the tree under `fileRoot`. A shape without coordinates or
// normals, or with normals that do not fit its points, ends the conversion:
// the result is not ok and names the problem; what was built stays.
ConversionResult convertScene(QvNode& fileRoot, DvGroup& sceneRoot, const ConversionOptions& options);
ConversionResult convertScene(QvNode& fileRoot, DvGroup& sceneRoot,
                              long maxDisplayVertices = kMaxDisplayVertices);

} // namespace quillmere
