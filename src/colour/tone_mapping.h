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

// The names a user types and reads, in the order of the enumeration.
constexpr const char* kToneMapNames[] = {"clip", "reinhard", "filmic"};

// The curve on one channel. Non-positive values pass unchanged (gamut
// mapping deals with them), so a neutral colour stays neutral.
float toneMapChannel(ToneMap curve, float value);
Vector3 toneMap(ToneMap curve, const Vector3& linear);

// sRGB transfer: 12.92·c up to 0.0031308, 1.055·c^(1/2.4) − 0.055 above;
// the exact formula, and its inverse.
float encodeSrgbExact(float linear);
float decodeSrgb(float encoded);

// The transfer function from a table of 4096 intervals over [0, 1],
// linearly interpolated (within 2e-5 of the formula); values are clamped to
// [0, 1] first. For the per-vertex path.
float encodeSrgb(float linear);

} // namespace quillmere
