#include "colour/display_curve.h"

namespace quillmere {

namespace {

// The exact display value of an exposed linear value.
float exactDisplayValue(ToneMap curve, float linear) {
  const float toned = toneMapChannel(curve, linear);
  return encodeSrgbExact(toned < 1.0f ? toned : 1.0f);
}

} // namespace

void DisplayCurve::build(ToneMap curve) {
  curve_ = curve;
  // Node j sits at the float whose bits >> kFractionBits are kFirstNode + j.
  auto node = [](int j) {
    const std::uint32_t bits = std::uint32_t(kFirstNode + j) << kFractionBits;
    float x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
  };
  pieces_[0] = {0.0f, 0.0f};
  float lower = exactDisplayValue(curve, node(0));
  for (int j = 0; j < kPieces; ++j) {
    const float upper = exactDisplayValue(curve, node(j + 1));
    pieces_[j + 1] = {lower, upper - lower};
    lower = upper;
  }
  pieces_[kPieces + 1] = {lower, 0.0f};
}

} // namespace quillmere
