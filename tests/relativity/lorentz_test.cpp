#include "relativity/lorentz.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillmere {
namespace {

constexpr float kTight = 1e-5f; // single-precision rounding of a few operations

void expectVector(const Vector3& actual, const Vector3& expected, float tolerance = kTight) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

MovingFrameState frameState(const Vector4& event, float beta, const Vector3& direction) {
  MovingFrameState state;
  Vector3 d = direction.normalized();
  float gamma = 1.0f / std::sqrt(1.0f - beta * beta);
  state.set(event, Vector4(gamma * beta * d, gamma));
  return state;
}

Vector3 lightCone(const MovingFrameState& state, const Vector3& point) {
  Vector3 position, normal;
  lightConeTransform(state, point, Vector3(0, 0, 1), false, position, normal);
  return position;
}

TEST(BoostEvent, CarriesEventsIntoObserverFrameAndBack) {
  // β = 0.6 along x, γ = 1.25: ((1, 0, 0), 0) → ((1.25, 0, 0), −0.75).
  RelObserver alongX(0, 0, 0, 0, 0.6f, 1, 0, 0);
  Vector4 boosted = boostEvent(alongX, Vector4(1, 0, 0, 0));
  expectVector(boosted.spatial(), {1.25f, 0, 0});
  EXPECT_NEAR(boosted.t, -0.75f, kTight);

  // Boosting by β and then by −β (same speed, opposite direction) gives the
  // event back, and the interval t² − |x|² is the same in every frame.
  RelObserver forward(0, 0, 0, 0, 0.8f, 1, 2, -2);
  RelObserver backward(0, 0, 0, 0, 0.8f, -1, -2, 2);
  Vector4 event(0.5f, -1.5f, 2.0f, 3.0f);
  Vector4 there = boostEvent(forward, event);
  Vector4 back = boostEvent(backward, there);
  expectVector(back.spatial(), event.spatial(), 1e-4f);
  EXPECT_NEAR(back.t, event.t, 1e-4f);
  float interval = event.t * event.t - dot(event.spatial(), event.spatial());
  EXPECT_NEAR(there.t * there.t - dot(there.spatial(), there.spatial()), interval, 1e-4f);
  // The observer's own world line (t·β·d, t) is at rest at its origin in its frame.
  Vector3 d = forward.flightDirection();
  Vector4 onWorldLine = boostEvent(forward, Vector4(2.0f * 0.8f * d, 2.0f));
  expectVector(onWorldLine.spatial(), {0, 0, 0}, 1e-5f);
  EXPECT_NEAR(onWorldLine.t, 2.0f / forward.gamma(), kTight); // proper time
}

TEST(DopplerFactor, BlueAheadRedBehindFromTheEye) {
  // β = 0.6, γ = 1.25: ahead γ(1 + β) = 2, behind γ(1 − β) = 0.5, abeam γ.
  RelObserver observer(1, 2, 3, 0, 0.6f, 0, 0, 1);
  EXPECT_NEAR(dopplerFactor(observer, {1, 2, 10}), 2.0f, kTight);
  EXPECT_NEAR(dopplerFactor(observer, {1, 2, -10}), 0.5f, kTight);
  EXPECT_NEAR(dopplerFactor(observer, {-4, 2, 3}), 1.25f, kTight);
  // Measured from the eye event, not the event.
  observer.setEyeOffset(-1.0f); // eye moves to world x = 0 (camera x is world −x)
  EXPECT_NEAR(dopplerFactor(observer, {0, 2, 10}), 2.0f, kTight);
  // A point on the eye has no direction: the transverse value, not NaN.
  EXPECT_NEAR(dopplerFactor(observer, observer.eyeEvent().spatial()), 1.25f, kTight);
}

TEST(LightConeTransform, MapsWorkedPoints) {
  // E' = 0, β' = 0.6 along z: abeam (1, 0, 0) is seen shifted forward to
  // (1, 0, 0.75); (0, 0, 2) → (0, 0, 4); (0, 0, −2) → (0, 0, −1).
  MovingFrameState state = frameState({0, 0, 0, 0}, 0.6f, {0, 0, 1});
  expectVector(lightCone(state, {1, 0, 0}), {1, 0, 0.75f});
  expectVector(lightCone(state, {0, 0, 2}), {0, 0, 4});
  expectVector(lightCone(state, {0, 0, -2}), {0, 0, -1});

  // At rest the vertex is only shifted by the observer's position; the normal stays.
  MovingFrameState rest = frameState({1, 2, 3, 7}, 0.0f, {0, 0, 1});
  EXPECT_EQ(rest.direction.length(), 0.0f);
  Vector3 position, normal;
  lightConeTransform(rest, {4, 4, 4}, {0.6f, 0, 0.8f}, true, position, normal);
  expectVector(position, {3, 2, 1});
  expectVector(normal, {0.6f, 0, 0.8f});
}

TEST(LightConeTransform, PlacesVertexOnBackwardLightCone) {
  // For every vertex the relative event (P − E', −R) is light-like; the
  // Lorentz boost (an independent matrix) gives its time t in the observer's
  // frame, and the apparent position p must satisfy |p| = −t.
  Vector3 velocity = 0.8f * Vector3(1, 2, -2).normalized();
  Matrix4 intoObserver = boost(0.8f, velocity);
  Vector4 observerEvent(1, 2, 3, 10);
  MovingFrameState state = frameState(observerEvent, 0.8f, velocity);
  const Vector3 points[] = {{4, 1, -2}, {-3, 5, 0.5f}, {1, 2, 13}, {0, 0, 0}, {1.5f, 2, 3}};
  for (const Vector3& point : points) {
    Vector3 r = point - observerEvent.spatial();
    Vector4 relative(r, -r.length());
    intoObserver.transform4(relative);
    Vector3 p = lightCone(state, point);
    float tolerance = 1e-5f * std::fabs(relative.t) + 1e-6f; // relative float rounding
    EXPECT_NEAR(p.length(), -relative.t, tolerance);
    expectVector(p, relative.spatial(), tolerance);
    EXPECT_LT(relative.t, 0.0f); // the light left the vertex in the past
  }
}

TEST(LightConeTransform, ApparentDirectionObeysAberration) {
  // A vertex at angle θ from the flight direction is seen at θ' with
  // cos θ' = (cos θ + β)/(1 + β cos θ): everything crowds towards the front.
  const float beta = 0.9f;
  Vector3 d = Vector3(0, 1, 1).normalized();
  Vector3 across = Vector3(0, 1, -1).normalized();
  Vector4 observerEvent(5, -1, 2, 0);
  MovingFrameState state = frameState(observerEvent, beta, d);
  for (float degrees : {0.0f, 30.0f, 60.0f, 90.0f, 120.0f, 170.0f, 180.0f}) {
    float theta = degrees * float(M_PI) / 180.0f;
    Vector3 point = observerEvent.spatial() + 3.0f * (std::cos(theta) * d + std::sin(theta) * across);
    Vector3 p = lightCone(state, point);
    float cosApparent = dot(p, d) / p.length();
    float cosExpected = (std::cos(theta) + beta) / (1.0f + beta * std::cos(theta));
    EXPECT_NEAR(cosApparent, cosExpected, 1e-4f) << degrees << " degrees";
    EXPECT_GE(dot(p, across), -1e-4f) << "the vertex stays on its side";
  }
}

TEST(LightConeTransform, NormalStaysPerpendicularToMappedSurface) {
  // The mapped normal must be perpendicular to the images of the surface's
  // tangents (central differences, step 1e-2: relative error well below 1e-3)
  // and keep its side of the surface.
  MovingFrameState state = frameState({0.5f, -1, 2, 4}, 0.7f, {1, -1, 2});
  Vector3 point(3, 1, -2);
  Vector3 n = Vector3(1, 2, 2).normalized();
  Vector3 tangents[] = {Vector3(2, -1, 0).normalized(), cross(n, Vector3(2, -1, 0).normalized())};
  Vector3 position, mappedNormal;
  lightConeTransform(state, point, n, true, position, mappedNormal);
  const float h = 1e-2f;
  for (const Vector3& t : tangents) {
    Vector3 image = (lightCone(state, point + h * t) - lightCone(state, point - h * t)) * (0.5f / h);
    EXPECT_NEAR(dot(mappedNormal, image) / (mappedNormal.length() * image.length()), 0.0f, 1e-3f);
  }
  Vector3 along = (lightCone(state, point + h * n) - lightCone(state, point - h * n)) * (0.5f / h);
  EXPECT_GT(dot(mappedNormal, along), 0.0f);

  // Without the flag only the position is written; outputs may alias inputs.
  Vector3 untouched(7, 7, 7);
  lightConeTransform(state, point, n, false, position, untouched);
  expectVector(untouched, {7, 7, 7}, 0.0f);
  Vector3 inPlace = point, inPlaceNormal = n;
  lightConeTransform(state, inPlace, inPlaceNormal, true, inPlace, inPlaceNormal);
  expectVector(inPlace, position, 0.0f);
  expectVector(inPlaceNormal, mappedNormal, 0.0f);

  // A vertex on the observer itself stays there with a finite normal.
  lightConeTransform(state, state.event.spatial(), n, true, position, mappedNormal);
  expectVector(position, {0, 0, 0}, 0.0f);
  EXPECT_TRUE(std::isfinite(mappedNormal.x + mappedNormal.y + mappedNormal.z));
}

TEST(SnapshotTransform, UndoesLightConeMappingOfTheSnapshot) {
  // Snapshot at E = 0, β = 0.6 along z: (1, 0, 0.75) → (1, 0, 0), the
  // inverse of the light-cone example. Later motion does not matter.
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  observer.setAcceleration(1.0f, 0.0f);
  observer.update(0.5f);
  Vector3 position, normal(9, 9, 9);
  snapshotTransform(observer, {1, 0, 0.75f}, {0, 1, 0}, true, position, normal);
  expectVector(position, {1, 0, 0});
  expectVector(normal, {0, 1, 0}, 0.0f);
  EXPECT_NE(observer.gamma(), observer.snapshotGamma()); // the observer keeps its own γ

  // Round trip for arbitrary points: snapshot, then light cone with the same motion.
  RelObserver oblique(0, 0, 0, 0, 0.85f, 1, 1, -1);
  MovingFrameState state = frameState({0, 0, 0, 0}, 0.85f, {1, 1, -1});
  for (const Vector3& point : {Vector3(1, 2, 3), Vector3(-4, 0.5f, 2), Vector3(0, 0, -6)}) {
    snapshotTransform(oblique, point, normal, false, position, normal);
    expectVector(lightCone(state, position), point, 1e-4f);
  }
}

TEST(ApparentPoint, SeenFromTheEyeWithCurrentMotion) {
  RelObserver observer(1, 2, 3, 0, 0.6f, 0, 0, 1);
  expectVector(apparentPoint(observer, {2, 2, 3}), {1, 0, 0.75f});
  expectVector(apparentPoint(observer, {1, 2, 5}), {0, 0, 4});
  RelObserver resting(1, 2, 3, 0, 0.0f, 0, 0, 1);
  expectVector(apparentPoint(resting, {4, 4, 4}), {3, 2, 1});
}

} // namespace
} // namespace quillmere
