// The last steps of the cie colour model on linear sRGB: the tone curves
// that bring scene values above display white into range, and the sRGB
// transfer function (IEC 61966-2-1) that encodes linear values for display.
#pragma once

#include "relativity/vector.h"

namespace quillmere {

enum class ToneMap {
  Clip,     // values above 1 become 1; values ≤ 1 are untouched
  Reinhard, // c/(1 + c) per channel
  Filmic,   // c up to 0.6, then a shoulder 0.6 + 0.4·t/(1 + t), t = (c − 0.6)/0.4, that approaches 1
};

constexpr float kFilmicKnee = 0.6f; // the filmic curve is the identity below

// The curve on one channel. Non-positive values pass unchanged (gamut
// mapping deals with them), so a neutral colour stays neutral. Inline: with
// a gamut method other than 0 the per-vertex tail of the cie model calls it
// three times per vertex (with method 0 it reads DisplayCurve's table).
inline float toneMapChannel(ToneMap curve, float value) {
  if (!(value > 0.0f)) return value;
  switch (curve) {
  case ToneMap::Clip:
    return value < 1.0f ? value : 1.0f;
  case ToneMap::Reinhard:
    return value / (1.0f + value);
  case ToneMap::Filmic:
    if (value <= kFilmicKnee) return value;
    {
      // A Reinhard shoulder above the knee: value and slope continuous
      // there, 1 approached, never passed (1 → 0.8, 2 → 0.91, 5 → 0.97).
      const float t = (value - kFilmicKnee) * (1.0f / (1.0f - kFilmicKnee));
      return kFilmicKnee + (1.0f - kFilmicKnee) * t / (1.0f + t);
    }
  }
  return value;
}

inline Vector3 toneMap(ToneMap curve, const Vector3& linear) {
  return {toneMapChannel(curve, linear.x), toneMapChannel(curve, linear.y), toneMapChannel(curve, linear.z)};
}

// sRGB transfer: 12.92·c up to 0.0031308, 1.055·c^(1/2.4) − 0.055 above;
// the exact formula, and its inverse.
float encodeSrgbExact(float linear);
float decodeSrgb(float encoded);

// The transfer function at 4097 even steps over [0, 1], filled before main.
constexpr int kSrgbTableIntervals = 4096;
extern const float* const kSrgbEncodingTable;

// The transfer function from that table, linearly interpolated (within 2e-5
// of the formula); values are clamped to [0, 1] first (NaN to 0). For the
// per-vertex path.
inline float encodeSrgb(float linear) {
  const float clamped = linear > 0.0f ? (linear < 1.0f ? linear : 1.0f) : 0.0f;
  const float x = clamped * float(kSrgbTableIntervals);
  int i = int(x);
  i = i < kSrgbTableIntervals - 1 ? i : kSrgbTableIntervals - 1;
  const float f = x - float(i);
  return kSrgbEncodingTable[i] + f * (kSrgbEncodingTable[i + 1] - kSrgbEncodingTable[i]);
}

} // namespace quillmere
