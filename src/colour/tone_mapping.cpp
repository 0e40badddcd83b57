#include "colour/tone_mapping.h"

#include <cmath>

namespace quillmere {

namespace {

struct EncodingTable {
  float value[kSrgbTableIntervals + 1];
  EncodingTable() {
    for (int i = 0; i <= kSrgbTableIntervals; ++i) value[i] = encodeSrgbExact(float(i) / kSrgbTableIntervals);
  }
};

const EncodingTable encodingTable;

} // namespace

const float* const kSrgbEncodingTable = encodingTable.value;

float encodeSrgbExact(float linear) {
  if (linear <= 0.0031308f) return 12.92f * linear;
  return float(1.055 * std::pow(double(linear), 1.0 / 2.4) - 0.055);
}

float decodeSrgb(float encoded) {
  if (encoded <= 0.04045f) return encoded / 12.92f;
  return float(std::pow((double(encoded) + 0.055) / 1.055, 2.4));
}

} // namespace quillmere
