#include "relativity/lorentz_block.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmere {

namespace {

// The frame state as plain floats, so that the loops read locals the
// compiler can keep in registers rather than members it must reload through
// pointers that might alias the outputs.
struct FrameConstants {
  float ex, ey, ez; // the observer's event, float part
  float lx, ly, lz; // its residual
  float dx, dy, dz; // unit direction of the observer's motion
  float gammaMinusOne, gammaBeta, gamma, speed;

  explicit FrameConstants(const MovingFrameState& f)
      : ex(f.event.x), ey(f.event.y), ez(f.event.z), lx(f.eventLow.x), ly(f.eventLow.y), lz(f.eventLow.z),
        dx(f.direction.x), dy(f.direction.y), dz(f.direction.z), gammaMinusOne(f.gamma - 1.0f),
        gammaBeta(f.gamma * f.speed), gamma(f.gamma), speed(f.speed) {}
};

// In every loop below the r = 0 guard of the scalar formulas (a vertex on the
// observer has no direction) is arithmetic, not a branch: with w = 1 for
// r ≠ 0 and 0 on the observer, w / (|r| + 1 − w) is 1/|r| (the same
// quotient: |r| + 0 is exact) or 0/1. A select after the divide would let
// the compiler move the divide into a branch, and a branch keeps the loop
// scalar.

// Copies the positions (and normals) of `count` records into the block.
// Four records at a time with SSE2: two unaligned loads per record, at
// floats 0..3 (x, y, z, nx) and 2..5 (z, nx, ny, nz), both inside the six
// floats every record has, then a 4 × 4 transpose of each.
void gather(const float* source, int stride, int count, bool normals, CoordinateBlock& p, CoordinateBlock& n) {
  int i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= count; i += 4) {
    const float* r = source + std::size_t(i) * std::size_t(stride);
    __m128 a0 = _mm_loadu_ps(r), a1 = _mm_loadu_ps(r + stride), a2 = _mm_loadu_ps(r + 2 * stride),
           a3 = _mm_loadu_ps(r + 3 * stride);
    _MM_TRANSPOSE4_PS(a0, a1, a2, a3); // a0 = x, a1 = y, a2 = z, a3 = nx of the four
    _mm_storeu_ps(p.x + i, a0);
    _mm_storeu_ps(p.y + i, a1);
    _mm_storeu_ps(p.z + i, a2);
    if (normals) {
      __m128 b0 = _mm_loadu_ps(r + 2), b1 = _mm_loadu_ps(r + stride + 2), b2 = _mm_loadu_ps(r + 2 * stride + 2),
             b3 = _mm_loadu_ps(r + 3 * stride + 2);
      _MM_TRANSPOSE4_PS(b0, b1, b2, b3); // b2 = ny, b3 = nz
      _mm_storeu_ps(n.x + i, a3);
      _mm_storeu_ps(n.y + i, b2);
      _mm_storeu_ps(n.z + i, b3);
    }
  }
#endif
  for (; i < count; ++i) {
    const float* r = source + std::size_t(i) * std::size_t(stride);
    p.x[i] = r[0], p.y[i] = r[1], p.z[i] = r[2];
    if (normals) n.x[i] = r[3], n.y[i] = r[4], n.z[i] = r[5];
  }
}

// Copies the block back into the first six (or three) floats of each record.
void scatter(const CoordinateBlock& q, const CoordinateBlock& m, bool normals, int count, float* target,
             int stride) {
  int i = 0;
#if defined(__SSE2__)
  if (normals)
    for (; i + 4 <= count; i += 4) {
      float* r = target + std::size_t(i) * std::size_t(stride);
      __m128 a0 = _mm_loadu_ps(q.x + i), a1 = _mm_loadu_ps(q.y + i), a2 = _mm_loadu_ps(q.z + i),
             a3 = _mm_loadu_ps(m.x + i);
      _MM_TRANSPOSE4_PS(a0, a1, a2, a3); // (x, y, z, nx) of each record
      __m128 ny = _mm_loadu_ps(m.y + i), nz = _mm_loadu_ps(m.z + i);
      __m128 low = _mm_unpacklo_ps(ny, nz), high = _mm_unpackhi_ps(ny, nz); // (ny, nz) pairs
      _mm_storeu_ps(r, a0);
      _mm_storel_pi(reinterpret_cast<__m64*>(r + 4), low);
      _mm_storeu_ps(r + stride, a1);
      _mm_storeh_pi(reinterpret_cast<__m64*>(r + stride + 4), low);
      _mm_storeu_ps(r + 2 * stride, a2);
      _mm_storel_pi(reinterpret_cast<__m64*>(r + 2 * stride + 4), high);
      _mm_storeu_ps(r + 3 * stride, a3);
      _mm_storeh_pi(reinterpret_cast<__m64*>(r + 3 * stride + 4), high);
    }
#endif
  for (; i < count; ++i) {
    float* r = target + std::size_t(i) * std::size_t(stride);
    r[0] = q.x[i], r[1] = q.y[i], r[2] = q.z[i];
    if (normals) r[3] = m.x[i], r[4] = m.y[i], r[5] = m.z[i];
  }
}

} // namespace

void lightConeTransformBlock(const MovingFrameState& frame, int count, const float* __restrict px,
                             const float* __restrict py, const float* __restrict pz, const float* __restrict nx,
                             const float* __restrict ny, const float* __restrict nz, float* __restrict qx,
                             float* __restrict qy, float* __restrict qz, float* __restrict mx,
                             float* __restrict my, float* __restrict mz) {
  const FrameConstants c(frame);
  for (int i = 0; i < count; ++i) {
    // r = P − E', from the two parts of the event (offsetTo).
    float rx = (px[i] - c.ex) - c.lx, ry = (py[i] - c.ey) - c.ly, rz = (pz[i] - c.ez) - c.lz;
    float distance = std::sqrt(rx * rx + ry * ry + rz * rz);
    // The light-like event (r, −|r|) on the backward cone, boosted:
    // M·r + γβ·|r|·d.
    float along = (c.gammaMinusOne * (c.dx * rx + c.dy * ry + c.dz * rz) + c.gammaBeta * distance);
    qx[i] = rx + along * c.dx;
    qy[i] = ry + along * c.dy;
    qz[i] = rz + along * c.dz;

    // The normal through the cofactor matrix of J = I + d·aᵀ,
    // a = (γ−1)·d + γβ·r̂: (1 + a·d)·n − a·(d·n).
    float away = distance > 0.0f ? 1.0f : 0.0f;
    float inverseDistance = away / (distance + (1.0f - away));
    float k = c.gammaBeta * inverseDistance;
    float ax = c.gammaMinusOne * c.dx + k * rx, ay = c.gammaMinusOne * c.dy + k * ry,
          az = c.gammaMinusOne * c.dz + k * rz;
    float scale = 1.0f + (ax * c.dx + ay * c.dy + az * c.dz);
    float dn = c.dx * nx[i] + c.dy * ny[i] + c.dz * nz[i];
    mx[i] = scale * nx[i] - dn * ax;
    my[i] = scale * ny[i] - dn * ay;
    mz[i] = scale * nz[i] - dn * az;
  }
}

void lightConeTransformBlock(const MovingFrameState& frame, int count, const float* __restrict px,
                             const float* __restrict py, const float* __restrict pz, float* __restrict qx,
                             float* __restrict qy, float* __restrict qz) {
  const FrameConstants c(frame);
  for (int i = 0; i < count; ++i) {
    float rx = (px[i] - c.ex) - c.lx, ry = (py[i] - c.ey) - c.ly, rz = (pz[i] - c.ez) - c.lz;
    float distance = std::sqrt(rx * rx + ry * ry + rz * rz);
    float along = (c.gammaMinusOne * (c.dx * rx + c.dy * ry + c.dz * rz) + c.gammaBeta * distance);
    qx[i] = rx + along * c.dx;
    qy[i] = ry + along * c.dy;
    qz[i] = rz + along * c.dz;
  }
}

void dopplerFactorBlock(const MovingFrameState& frame, int count, const float* __restrict px,
                        const float* __restrict py, const float* __restrict pz, float* __restrict factor) {
  const FrameConstants c(frame);
  for (int i = 0; i < count; ++i) {
    // D = γ·(1 + β·d·r̂); on the observer itself the transverse value γ.
    float rx = (px[i] - c.ex) - c.lx, ry = (py[i] - c.ey) - c.ly, rz = (pz[i] - c.ez) - c.lz;
    float distance = std::sqrt(rx * rx + ry * ry + rz * rz);
    float away = distance > 0.0f ? 1.0f : 0.0f;
    float cosine = away * (c.dx * rx + c.dy * ry + c.dz * rz) / (distance + (1.0f - away));
    factor[i] = c.gamma * (1.0f + c.speed * cosine);
  }
}

void lightConeTransformRecords(const MovingFrameState& frame, const float* source, float* target, int stride,
                               int count, bool transformNormals, float* doppler) {
  CoordinateBlock p, n, q, m;
  for (int first = 0; first < count; first += kLightConeBlock) {
    const int run = std::min(kLightConeBlock, count - first);
    const float* in = source + std::size_t(first) * std::size_t(stride);
    gather(in, stride, run, transformNormals, p, n);
    if (transformNormals)
      lightConeTransformBlock(frame, run, p.x, p.y, p.z, n.x, n.y, n.z, q.x, q.y, q.z, m.x, m.y, m.z);
    else
      lightConeTransformBlock(frame, run, p.x, p.y, p.z, q.x, q.y, q.z);
    scatter(q, m, transformNormals, run, target + std::size_t(first) * std::size_t(stride), stride);
    if (doppler) dopplerFactorBlock(frame, run, p.x, p.y, p.z, doppler + first);
  }
}

} // namespace quillmere
