// The last steps of the cie colour model on one channel of exposed linear
// sRGB, fused into one table: the tone curve, the clamp to [0, 1] and the
// sRGB transfer function. The table is made once per choice of tone curve
// and is indexed by the float's own bits: 32 linear pieces per octave from
// 2^−20 to 2^16, so a lookup is a shift, a clamp and one multiply-add, with
// no branch, division or power per vertex.
//
// Accuracy: within 1e-4 of encodeSrgbExact(min(1, toneMapChannel(curve, x)))
// for every x ≥ 2^−20 (a twentieth of the half level that 8 bits resolve;
// 8e-5 at worst, just above the filmic knee, where the curvature jumps).
// The curves' kinks lie on table nodes (the clip curve's at 1) or have no
// jump in slope (the filmic knee; the sRGB transfer's linear foot, nearly).
#pragma once

#include "colour/tone_mapping.h"

#include <cstdint>
#include <cstring>

namespace quillmere {

class DisplayCurve {
public:
  static constexpr int kLowestOctave = -20; // values below 2^−20 give 0 (at most 1.2e-5 off)
  static constexpr int kHighestOctave = 16; // values above 2^16 give the value at 2^16
  static constexpr int kPieceBits = 5;      // 2^5 pieces per octave

  explicit DisplayCurve(ToneMap curve = ToneMap::Filmic) { build(curve); }

  // Makes the table for `curve` (about a thousand evaluations of the exact
  // formulas); nothing happens when it is the curve in force.
  void make(ToneMap curve) {
    if (curve != curve_) build(curve);
  }
  ToneMap curve() const { return curve_; }

  // The display value of an exposed linear value. Zero, negative values,
  // NaN and ±∞ give 0 (no light, as gamut mapping counts them); finite
  // values above 2^16 give the value there (1 within 1e-4). All on the
  // bits as an integer, where the compiler selects without branching.
  float operator()(float linear) const {
    std::int32_t bits;
    std::memcpy(&bits, &linear, sizeof bits);
    bits = bits < kInfinityBits ? bits : 0; // negative values keep their sign: piece 0
    bits = bits < kTopBits ? bits : kTopBits;
    int piece = (bits >> kFractionBits) - kFirstNode + 1;
    piece = piece > 0 ? piece : 0;
    const float fraction = float(bits & kFractionMask) * kFractionScale;
    return pieces_[piece].value + fraction * pieces_[piece].rise;
  }

private:
  static constexpr int kFractionBits = 23 - kPieceBits; // mantissa bits within a piece
  static constexpr std::int32_t kFractionMask = (1 << kFractionBits) - 1;
  static constexpr float kFractionScale = 1.0f / float(1u << kFractionBits);
  static constexpr int kFirstNode = (127 + kLowestOctave) << kPieceBits; // bits >> kFractionBits of 2^−20
  static constexpr int kPieces = (kHighestOctave - kLowestOctave) << kPieceBits;
  static constexpr std::int32_t kTopBits = (127 + kHighestOctave) << 23; // 2^16
  static constexpr std::int32_t kInfinityBits = 255 << 23;

  struct Piece {
    float value; // at the piece's lower node
    float rise;  // to its upper node
  };

  void build(ToneMap curve);

  ToneMap curve_ = ToneMap::Filmic;
  // Piece 0: below 2^−20 (0, flat); 1..kPieces: the table; last: 2^16 (flat).
  Piece pieces_[kPieces + 2] = {};
};

} // namespace quillmere
