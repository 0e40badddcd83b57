// Per-vertex relativistic geometry: where the observer sees a point (light
// travel time and aberration), how a surface normal follows, the Doppler
// factor of a point, and the boost of an event into the observer's rest
// frame. c = 1. These run for every vertex of every mesh in every frame, so
// they are closed formulas in single precision, inline, reading the observer
// or frame state by const reference; nothing allocates or dispatches.
//
// For speed β along unit d, M = I + (γ−1)·d·dᵀ is the spatial part of the
// boost (M·v = v + (γ−1)(d·v)·d).
#pragma once

#include "relativity/frame_transformation.h"
#include "relativity/observer.h"
#include "relativity/vector.h"

namespace quillmere {

namespace lorentz_detail {

// The light-like relative event (r, −|r|), which lies on the backward light
// cone, carried into the rest frame of an observer moving with β·d:
// M·r + γβ·|r|·d.
inline Vector3 boostLightLike(const Vector3& r, float distance, float beta, float gamma, const Vector3& d) {
  return r + ((gamma - 1.0f) * dot(d, r) + gamma * beta * distance) * d;
}

} // namespace lorentz_detail

// The event (x, t) in the rest frame of the observer as it moves now:
// x' = x + (γ−1)(d·x)·d − γβ·t·d, t' = γ·(t − β·d·x).
inline Vector4 boostEvent(const RelObserver& observer, const Vector4& event) {
  const Vector3& d = observer.flightDirection();
  float beta = observer.speed(), gamma = observer.gamma();
  Vector3 x = event.spatial();
  float along = dot(d, x);
  Vector3 boosted = x + ((gamma - 1.0f) * along - gamma * beta * event.t) * d;
  return Vector4(boosted, gamma * (event.t - beta * along));
}

// D = γ·(1 + β·d·r̂), r̂ the unit vector from the eye event to P: above 1
// ahead of the observer (blue shift), below 1 behind. A point on the eye
// itself has no direction; it gets the transverse value D = γ instead of NaN.
inline float dopplerFactor(const RelObserver& observer, const Vector3& point) {
  Vector3 r = point - observer.eyeEvent().spatial();
  float distance = r.length();
  float cosine = distance > 0.0f ? dot(observer.flightDirection(), r) / distance : 0.0f;
  return observer.gamma() * (1.0f + observer.speed() * cosine);
}

// The Doppler factor of a point at rest in a moving object's frame, from the
// observer as seen from that frame: D = γ'·(1 + β'·d'·r̂'), r̂' the unit vector
// from the observer's event to P in the frame's coordinates. The source rests
// in that frame, so its shift depends on the observer's motion relative to
// it, not to the world: an object approaching at 0.9 shows D = √19 ≈ 4.36
// straight ahead, even to an observer at rest in the world.
// In the rest frame this is dopplerFactor(observer, P) with the observer's
// event in place of the eye event. A point on the observer gets D = γ'.
inline float dopplerFactor(const MovingFrameState& frame, const Vector3& point) {
  Vector3 r = frame.offsetTo(point);
  float distance = r.length();
  float cosine = distance > 0.0f ? dot(frame.direction, r) / distance : 0.0f;
  return frame.gamma * (1.0f + frame.speed * cosine);
}

// Where the observer, at the frame state's event, sees a vertex at rest in
// the object's frame. The observer's backward light cone meets the vertex's
// world line (P, t) at t = t_E' − R; that relative event (r, −R) is carried
// into the observer's rest frame. The result is relative to the observer's
// event, with axes parallel to the object's.
//
// With `transformNormal` the normal follows the mapping: n' is the cofactor
// matrix of its Jacobian J = I + d'·aᵀ, a = (γ'−1)·d' + γ'β'·r̂, applied to
// n, i.e. (1 + a·d')·n − a·(d'·n); not normalised. Without it `normalOut` is
// not written. The outputs may alias the inputs. A vertex exactly at the
// observer's position maps to it, and its normal uses r̂ = 0.
inline void lightConeTransform(const MovingFrameState& frame, const Vector3& position, const Vector3& normal,
                               bool transformNormal, Vector3& positionOut, Vector3& normalOut) {
  const Vector3& d = frame.direction;
  Vector3 r = frame.offsetTo(position);
  float distance = r.length();
  Vector3 apparent = lorentz_detail::boostLightLike(r, distance, frame.speed, frame.gamma, d);
  if (transformNormal) {
    float inverseDistance = distance > 0.0f ? 1.0f / distance : 0.0f;
    Vector3 a = (frame.gamma - 1.0f) * d + (frame.gamma * frame.speed * inverseDistance) * r;
    Vector3 n = normal;
    normalOut = (1.0f + dot(a, d)) * n - dot(d, n) * a;
  }
  positionOut = apparent;
}

// For objects at rest in the world, with the observer's snapshot event E,
// speed β and direction d: r = P − M·E, position' = E + M·r − γβ·|r|·d, in
// world coordinates. For E = 0 this undoes the light-cone mapping with the
// same β and d. The normal is copied when `transformNormal` is set.
// γ comes from the snapshot itself; the observer is not changed.
inline void snapshotTransform(const RelObserver& observer, const Vector3& position, const Vector3& normal,
                              bool transformNormal, Vector3& positionOut, Vector3& normalOut) {
  const Vector3& d = observer.snapshotDirection();
  float beta = observer.snapshotSpeed(), gamma = observer.snapshotGamma();
  Vector3 e = observer.snapshotEvent().spatial();
  Vector3 r = position - (e + (gamma - 1.0f) * dot(d, e) * d);
  float distance = r.length();
  positionOut = e + r + ((gamma - 1.0f) * dot(d, r) - gamma * beta * distance) * d;
  if (transformNormal) normalOut = normal;
}

// The light-cone formula with the observer's own eye event and current
// velocity: where the observer sees P, relative to the eye (level of detail).
inline Vector3 apparentPoint(const RelObserver& observer, const Vector3& point) {
  Vector3 r = point - observer.eyeEvent().spatial();
  return lorentz_detail::boostLightLike(r, r.length(), observer.speed(), observer.gamma(),
                                        observer.flightDirection());
}

} // namespace quillmere
