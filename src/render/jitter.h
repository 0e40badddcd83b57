// Sub-pixel (image) and lens (eye) jitter offsets for the accumulation
// passes of antialiasing and depth of field.
#pragma once

namespace quillmere {

struct JitterPoint {
  float x, y;
};

struct JitterTable {
  int count;
  const JitterPoint* points;
};

constexpr int kJitterTableCount = 13; // 1, 2, 3, 4, 5, 6, 8, 9, 12, 15, 16, 24 and 66 samples
extern const JitterTable kJitterTables[kJitterTableCount];

// The single offset (0, 0): one pass, or a count without a table.
constexpr JitterPoint kNoJitter[1] = {{0.0f, 0.0f}};

// The table of n offsets. A count without a table prints
// "DvDisplayManager::getJitter: can't find jitter\n" and yields the single
// offset (0, 0), so the caller makes one pass with it.
JitterTable getJitter(int count);

} // namespace quillmere
