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

#include <algorithm>

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

// The light-cone transform of vertices stored as records with `position` and
// `normal` members (as the drawing reads them), through the block functions:
// each run of kLightConeBlock vertices is copied into stack arrays,
// transformed, and copied back. Writes target[i].position and, with
// `transformNormals`, target[i].normal; with `doppler` also the Doppler
// factor of every source position. `source` and `target` must not overlap.
// Every vertex gets the same result however the caller splits the range.
template <typename Vertex>
void lightConeTransformVertices(const MovingFrameState& frame, const Vertex* source, Vertex* target, int count,
                                bool transformNormals, float* doppler = nullptr) {
  CoordinateBlock p, n, q, m;
  for (int first = 0; first < count; first += kLightConeBlock) {
    const int run = std::min(kLightConeBlock, count - first);
    const Vertex* in = source + first;
    Vertex* out = target + first;
    for (int i = 0; i < run; ++i) {
      p.x[i] = in[i].position.x;
      p.y[i] = in[i].position.y;
      p.z[i] = in[i].position.z;
    }
    if (transformNormals) {
      for (int i = 0; i < run; ++i) {
        n.x[i] = in[i].normal.x;
        n.y[i] = in[i].normal.y;
        n.z[i] = in[i].normal.z;
      }
      lightConeTransformBlock(frame, run, p.x, p.y, p.z, n.x, n.y, n.z, q.x, q.y, q.z, m.x, m.y, m.z);
      for (int i = 0; i < run; ++i) {
        out[i].normal.x = m.x[i];
        out[i].normal.y = m.y[i];
        out[i].normal.z = m.z[i];
      }
    } else {
      lightConeTransformBlock(frame, run, p.x, p.y, p.z, q.x, q.y, q.z);
    }
    for (int i = 0; i < run; ++i) {
      out[i].position.x = q.x[i];
      out[i].position.y = q.y[i];
      out[i].position.z = q.z[i];
    }
    if (doppler) dopplerFactorBlock(frame, run, p.x, p.y, p.z, doppler + first);
  }
}

} // namespace quillmere
