// The status bar over the bottom of every frame: the observer's speed, the
// animation time, the observer's event, the two flight controls and the
// frame number, as one line of stroke-font text on a grey bar. Drawn in an
// orthographic 5000 × 5000 box over the current viewport, so it keeps its
// proportions at any window size; its strokes thicken with the viewport's
// height so that small windows keep their decimal points.
#pragma once

#include "relativity/vector.h"

#include <string>

namespace quillmere {

class StatusOverlay {
public:
  static constexpr int kPieces = 10;

  float barColour[4] = {0.4f, 0.4f, 0.4f, 1.0f};
  float labelColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float valueColour[4] = {0.0f, 0.0f, 0.8f, 1.0f};
  float speed = 0;        // β
  float turnRate = 0;     // ω
  float acceleration = 0; // α
  float time = 0;         // the display manager's time before the step
  Vector4 event;          // the observer's event after the step
  int frameNumber = 0;
  bool showExposure = false; // the cie model's exposure follows the frames: "EV -3.2" after the line
  float exposureEv = 0;      // the exposure in use

  // Piece i of the line: even pieces are labels, odd pieces values.
  std::string piece(int index) const;
  // "  EV -3.2" when showExposure, else empty.
  std::string exposurePiece() const;
  // The whole line as drawn.
  std::string text() const;

  // Draws the bar and the line into the current draw buffer and viewport;
  // restores the attributes and both matrices it touched.
  void draw() const;
};

} // namespace quillmere
