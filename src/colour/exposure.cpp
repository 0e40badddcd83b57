#include "colour/exposure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace quillmere {

namespace {

constexpr int kLowestOctave = -32;
// A positive normal float's bits, shifted right by 21, are its biased
// exponent and the two leading bits of its mantissa: four bins per octave,
// in increasing order of the value.
constexpr int kFirstKey = (kLowestOctave + 127) * 4;

} // namespace

int LuminanceHistogram::binOf(float luminance) {
  if (!(luminance > 0.0f)) return -1;
  std::uint32_t bits;
  std::memcpy(&bits, &luminance, sizeof bits);
  const int bin = int(bits >> 21) - kFirstKey;
  return bin >= 0 && bin < kBins ? bin : -1;
}

float LuminanceHistogram::lowerEdge(int bin) {
  const std::uint32_t bits = std::uint32_t(bin + kFirstKey) << 21;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void ExposureControl::record(const LuminanceHistogram& histogram) {
  for (int i = 0; i < LuminanceHistogram::kBins; ++i)
    if (unsigned n = histogram.count(i)) counts_[i].fetch_add(n, std::memory_order_relaxed);
}

float ExposureControl::meteredEv(const unsigned* counts, bool& found) {
  unsigned long total = 0;
  for (int i = 0; i < LuminanceHistogram::kBins; ++i) total += counts[i];
  found = total > 0;
  if (!found) return 0.0f;
  // The bin holding the percentile, and the middle of it (in octaves).
  const double wanted = double(kPercentile) * double(total);
  unsigned long below = 0;
  int bin = 0;
  for (; bin < LuminanceHistogram::kBins - 1; ++bin) {
    if (double(below + counts[bin]) >= wanted) break;
    below += counts[bin];
  }
  const double low = std::log2(double(LuminanceHistogram::lowerEdge(bin)));
  const double high = bin + 1 < LuminanceHistogram::kBins ? std::log2(double(LuminanceHistogram::lowerEdge(bin + 1)))
                                                         : low + 0.25;
  const double luminanceOctave = 0.5 * (low + high);
  return std::clamp(float(-luminanceOctave), kLowestEv, kHighestEv);
}

void ExposureControl::beginFrame() {
  unsigned counts[LuminanceHistogram::kBins];
  for (int i = 0; i < LuminanceHistogram::kBins; ++i) counts[i] = counts_[i].exchange(0, std::memory_order_relaxed);
  if (automatic) {
    attempted_ = true;
    bool found = false;
    const float target = meteredEv(counts, found);
    if (found) {
      automaticEv_ = metered_ ? automaticEv_ + kAdaptation * (target - automaticEv_) : target;
      metered_ = true;
    }
  }
  factor_ = float(std::exp2(double(ev())));
}

} // namespace quillmere
