#include "colour/gamut_mapping.h"

#include "diagnostics/diagnostics.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

constexpr float kLowestChannel = 0.0001f;  // desaturation target range
constexpr float kHighestChannel = 0.9999f;

void clamp(Vector3& c) {
  for (int i = 0; i < 3; ++i) c[i] = std::min(std::max(c[i], 0.0f), 1.0f);
}

// Lifts the colour by the most negative component, so that nothing is below 0.
void shiftUp(Vector3& c) {
  float lowest = std::min({0.0f, c.x, c.y, c.z});
  c -= Vector3(lowest, lowest, lowest);
}

// Scales the colour so that its largest component is 1. A colour with no
// positive component (black, after a shift or cut) has nothing to scale and
// stays black rather than dividing by zero.
void normaliseToLargest(Vector3& c) {
  float largest = std::max({0.0f, c.x, c.y, c.z});
  if (largest == 0.0f) {
    c = Vector3();
    return;
  }
  c = Vector3(c.x / largest, c.y / largest, c.z / largest);
}

// Keeps the mean (brightness) and the hue direction, and reduces the
// saturation just enough to bring every component into range.
void desaturate(Vector3& c) {
  bool inRange = true;
  for (int i = 0; i < 3; ++i) inRange = inRange && c[i] >= 0.0f && c[i] <= 1.0f;
  if (inRange) return;

  float mean = (c.x + c.y + c.z) / 3.0f;
  if (mean <= kLowestChannel) {
    c = Vector3();
    return;
  }
  if (mean > kHighestChannel) {
    c = Vector3(1.0f, 1.0f, 1.0f);
    return;
  }

  Vector3 chroma = c - Vector3(mean, mean, mean);
  float scale = 1.0f;
  for (int i = 0; i < 3; ++i) {
    float bound;
    if (c[i] > 1.0f)
      bound = (kHighestChannel - mean) / chroma[i];
    else if (c[i] < 0.0f)
      bound = (kLowestChannel - mean) / chroma[i];
    else
      continue;
    if (bound < scale) scale = bound;
  }
  c = Vector3(mean, mean, mean) + scale * chroma;
}

} // namespace

Vector3& GamutMapping::clip(Vector3& colour) const {
  // No method can place NaN or an infinity (a spectrum shifted past a
  // singular value, a searchlight factor beyond the float range), and the
  // comparisons below would pass NaN straight on to OpenGL: such a component
  // counts as no light.
  for (int i = 0; i < 3; ++i)
    if (!std::isfinite(colour[i])) colour[i] = 0.0f;
  switch (method_) {
  case 0:
    clamp(colour);
    break;
  case 1:
    shiftUp(colour);
    normaliseToLargest(colour);
    break;
  case 2:
    shiftUp(colour);
    for (int i = 0; i < 3; ++i) colour[i] = std::min(colour[i], 1.0f);
    break;
  case 3:
    shiftUp(colour);
    desaturate(colour);
    break;
  case 4:
    for (int i = 0; i < 3; ++i) colour[i] = std::max(colour[i], 0.0f);
    normaliseToLargest(colour);
    break;
  case 5:
    desaturate(colour);
    break;
  default:
    printFatal("GamutMapping::clip(): Unknown method");
  }
  return colour;
}

} // namespace quillmere
