#include "relativity/lorentz_block.h"

#include <cmath>

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

} // namespace quillmere
