// The vertex budget of building one display scene, shared by every scene
// source (the scene-file conversion, the model importers): how many display
// vertices may still be made, and the splitting of long edges within it.
#pragma once

namespace quillmere {

class DvGroup;
class DvIndexedFaceSet;

// The edge length that stands for `--subdivide auto`: found from the
// scene's size once it is built (automaticEdgeLength).
constexpr float kAutomaticEdgeLength = -1.0f;

class DisplayBudget {
public:
  // `displayVertices` is the builder's running count, which this keeps up to date.
  DisplayBudget(long maxDisplayVertices, float maxEdgeLength, long& displayVertices)
      : maxDisplayVertices_(maxDisplayVertices), maxEdgeLength_(maxEdgeLength), displayVertices_(displayVertices) {}

  // Counts `vertices` more; false (with one warning, and spent() from then
  // on) when they would pass the budget.
  bool admit(long vertices);
  bool spent() const { return spent_; }
  // What is left of the budget (never negative).
  long room() const;
  long maxDisplayVertices() const { return maxDisplayVertices_; }
  float maxEdgeLength() const { return maxEdgeLength_; }

  // Splits the set's long edges (world coordinates) within what is left of
  // the budget and counts the vertices made; nothing when subdivision is
  // off. Once the budget stops a split, one warning.
  void subdivide(DvIndexedFaceSet& faceSet);

private:
  long maxDisplayVertices_;  // the budget of the whole scene
  float maxEdgeLength_;      // scene units; 0: no subdivision
  long& displayVertices_;    // the builder's count of display vertices made
  bool spent_ = false;
  bool warnedSubdivision_ = false;
};

// Subdivides every face set under `root` (LOD levels included) after the
// scene was built, for an edge length known only then (a fraction of the
// scene's size); the sets' transformed arrays are refreshed.
void subdivideScene(DvGroup& root, DisplayBudget& budget);

// The edge length `--subdivide auto` asks for: 1/64 of the radius of the
// scene's bounding sphere (half its box's diagonal); 0 for an empty scene.
float automaticEdgeLength(const DvGroup& root);

} // namespace quillmere
