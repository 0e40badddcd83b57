// Exposure of the cie colour model: a fixed exposure in EV (linear values
// × 2^EV), or one that follows the brightness of the frames. The automatic
// exposure meters the luminance of the lit vertices of a frame in a
// histogram of quarter octaves and, before the next frame, moves its EV part
// of the way towards the value that brings a high percentile of that
// luminance to display white, so a movie does not flicker.
//
// Vertices, not pixels, are counted: a finely cut surface weighs more than
// a coarse one of the same size on the screen.
#pragma once

#include "relativity/vector.h"

#include <atomic>

namespace quillmere {

// Luminance counts of one run of vertices, merged into the exposure control.
// Bins of a quarter octave from 2^−32 to 2^32, found from the float's bits.
class LuminanceHistogram {
public:
  static constexpr int kBins = 256;

  // Counts a linear-sRGB colour whose luminance is in range; black and
  // non-finite colours are not lit and are not counted.
  void add(const Vector3& linearRgb) {
    const float y = 0.2126f * linearRgb.x + 0.7152f * linearRgb.y + 0.0722f * linearRgb.z;
    const int bin = binOf(y);
    if (bin >= 0) ++counts_[bin];
  }

  // The bin of a luminance, −1 outside the range (and for y ≤ 0, NaN).
  static int binOf(float luminance);
  // The luminance at the lower edge of a bin.
  static float lowerEdge(int bin);

  unsigned count(int bin) const { return counts_[bin]; }

private:
  unsigned counts_[kBins] = {};
};

class ExposureControl {
public:
  static constexpr float kPercentile = 0.95f; // of the lit vertices' luminance, brought to display white
  static constexpr float kAdaptation = 0.35f; // share of the way to the metered EV taken per frame
  static constexpr float kLowestEv = -40.0f, kHighestEv = 16.0f;

  float fixedEv = 0.0f;      // the exposure without auto exposure
  bool automatic = false;    // follow the frames' brightness

  // The exposure in use, in EV, and its factor 2^EV.
  float ev() const { return automatic ? automaticEv_ : fixedEv; }
  float factor() const { return factor_; }

  // Folds the last frame's histogram into the automatic EV (the first
  // metered frame sets it outright) and starts a new histogram. Without
  // automatic exposure only the factor is updated.
  void beginFrame();
  // True before auto exposure has had a frame to meter: the display manager
  // then draws the first frame twice, once only to meter it.
  bool needsMetering() const { return automatic && !attempted_; }

  // Thread-safe: the per-vertex runs add their histograms as they finish.
  void record(const LuminanceHistogram& histogram);

  // The EV that brings the percentile of `histogram` to 1; `found` false
  // when nothing was lit.
  static float meteredEv(const unsigned* counts, bool& found);

private:
  std::atomic<unsigned> counts_[LuminanceHistogram::kBins] = {};
  float automaticEv_ = 0.0f; // smoothed over the frames
  bool metered_ = false;     // a lit frame has been metered
  bool attempted_ = false;   // a frame has been metered, lit or not
  float factor_ = 1.0f;      // 2^ev(), as of the last beginFrame
};

} // namespace quillmere
