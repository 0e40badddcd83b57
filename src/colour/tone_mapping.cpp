#include "colour/tone_mapping.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

constexpr float kFilmicKnee = 0.6f; // the filmic curve is the identity below

// The transfer function at 4097 even steps over [0, 1].
struct EncodingTable {
  static constexpr int kIntervals = 4096;
  float value[kIntervals + 1];
  EncodingTable() {
    for (int i = 0; i <= kIntervals; ++i) value[i] = encodeSrgbExact(float(i) / kIntervals);
  }
};

const EncodingTable& encodingTable() {
  static const EncodingTable table;
  return table;
}

} // namespace

float toneMapChannel(ToneMap curve, float value) {
  if (!(value > 0.0f)) return value;
  switch (curve) {
  case ToneMap::Clip:
    return std::min(value, 1.0f);
  case ToneMap::Reinhard:
    return value / (1.0f + value);
  case ToneMap::Filmic:
    if (value <= kFilmicKnee) return value;
    // A Reinhard shoulder above the knee: value and slope continuous there,
    // 1 approached, never passed (1 → 0.8, 2 → 0.91, 5 → 0.97).
    {
      const float t = (value - kFilmicKnee) / (1.0f - kFilmicKnee);
      return kFilmicKnee + (1.0f - kFilmicKnee) * t / (1.0f + t);
    }
  }
  return value;
}

Vector3 toneMap(ToneMap curve, const Vector3& linear) {
  return {toneMapChannel(curve, linear.x), toneMapChannel(curve, linear.y), toneMapChannel(curve, linear.z)};
}

float encodeSrgbExact(float linear) {
  if (linear <= 0.0031308f) return 12.92f * linear;
  return float(1.055 * std::pow(double(linear), 1.0 / 2.4) - 0.055);
}

float decodeSrgb(float encoded) {
  if (encoded <= 0.04045f) return encoded / 12.92f;
  return float(std::pow((double(encoded) + 0.055) / 1.055, 2.4));
}

float encodeSrgb(float linear) {
  const EncodingTable& table = encodingTable();
  const float clamped = linear > 0.0f ? (linear < 1.0f ? linear : 1.0f) : 0.0f; // NaN → 0
  const float x = clamped * EncodingTable::kIntervals;
  const int i = std::min(int(x), EncodingTable::kIntervals - 1);
  const float f = x - float(i);
  return table.value[i] + f * (table.value[i + 1] - table.value[i]);
}

} // namespace quillmere
