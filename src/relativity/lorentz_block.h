// The light-cone transform and the Doppler factor for a run of vertices laid
// out as separate x, y and z arrays (structure of arrays). The formulas are
// those of lorentz.h, written so that every vertex takes the same
// straight-line path: the compiler keeps four vertices in one SSE register
// and pays one square root and one divide per four vertices instead of per
// vertex. The scalar functions in lorentz.h stay the reference; these give
// the same float results (same operations in the same order, and SSE square
// root and divide round exactly as their scalar forms).
//
// The loops are compiled in lorentz_block.cpp with -O3 -fno-math-errno for
// the baseline x86-64 instruction set, so the binary still runs anywhere.
#pragma once

#include "relativity/frame_transformation.h"

#include <cstddef>

namespace quillmere {

// A run of vertices short enough for stack buffers and the first level of
// cache: callers copy their vertices into arrays of this many and back.
constexpr int kLightConeBlock = 64;

// Separate coordinate arrays for one block of vertices.
struct CoordinateBlock {
  float x[kLightConeBlock];
  float y[kLightConeBlock];
  float z[kLightConeBlock];
};

// lightConeTransform(frame, p[i], n[i], true, q[i], m[i]) for i < count, with
// p = (px, py, pz) and so on. Inputs and outputs must not overlap.
void lightConeTransformBlock(const MovingFrameState& frame, int count, const float* px, const float* py,
                             const float* pz, const float* nx, const float* ny, const float* nz, float* qx,
                             float* qy, float* qz, float* mx, float* my, float* mz);

// The same with `transformNormal` false: positions only.
void lightConeTransformBlock(const MovingFrameState& frame, int count, const float* px, const float* py,
                             const float* pz, float* qx, float* qy, float* qz);

// dopplerFactor(frame, p[i]) for i < count into factor[i].
void dopplerFactorBlock(const MovingFrameState& frame, int count, const float* px, const float* py,
                        const float* pz, float* factor);

// The light-cone transform of records that begin with a position and a
// normal (six floats) and are `stride` floats apart, through the block
// functions: each run of kLightConeBlock records is copied into stack
// arrays, transformed, and copied back. Writes the target's position and,
// with `transformNormals`, its normal; the rest of each target record is
// left alone. With `doppler` also the Doppler factor of every source
// position. `source` and `target` must not overlap. Every record gets the
// same result however the caller splits the range.
void lightConeTransformRecords(const MovingFrameState& frame, const float* source, float* target, int stride,
                               int count, bool transformNormals, float* doppler = nullptr);

// The same for any record type with members `position` and `normal`, the
// first two Vector3 members, in that order.
template <typename Vertex>
void lightConeTransformVertices(const MovingFrameState& frame, const Vertex* source, Vertex* target, int count,
                                bool transformNormals, float* doppler = nullptr) {
  static_assert(offsetof(Vertex, position) == 0 && offsetof(Vertex, normal) == 3 * sizeof(float) &&
                    sizeof(Vertex) % sizeof(float) == 0,
                "records begin with the position and the normal");
  lightConeTransformRecords(frame, &source->position.x, &target->position.x, int(sizeof(Vertex) / sizeof(float)),
                            count, transformNormals, doppler);
}

} // namespace quillmere
