#include "relativity/lorentz.h"

#include "expect_vector.h"

#include <cmath>

namespace quillmere {
namespace {

MovingFrameState frameState(const Vector4& event, float beta, const Vector3& direction) {
  MovingFrameState state;
  float gamma = 1.0f / std::sqrt(1.0f - beta * beta);
  state.set(event, Vector4(gamma * beta * direction.normalized(), gamma));
  return state;
}

Vector3 lightCone(const MovingFrameState& state, const Vector3& point) {
  Vector3 position, normal;
  lightConeTransform(state, point, Vector3(0, 0, 1), false, position, normal);
  return position;
}

TEST(BoostEvent, CarriesEventsIntoObserverFrameAndBack) {
  // β = 0.6 along x, γ = 1.25: ((1, 0, 0), 0) → ((1.25, 0, 0), −0.75).
  expectEvent(boostEvent(RelObserver(0, 0, 0, 0, 0.6f, 1, 0, 0), {1, 0, 0, 0}), {1.25f, 0, 0, -0.75f});

  // By β and then by −β gives the event back; the interval t² − |x|² is kept.
  RelObserver forward(0, 0, 0, 0, 0.8f, 1, 2, -2), backward(0, 0, 0, 0, 0.8f, -1, -2, 2);
  Vector4 event(0.5f, -1.5f, 2.0f, 3.0f);
  Vector4 there = boostEvent(forward, event);
  expectEvent(boostEvent(backward, there), event, 1e-4f);
  EXPECT_NEAR(there.t * there.t - dot(there.spatial(), there.spatial()), 9.0f - 6.5f, 1e-4f);
}

TEST(DopplerFactor, BlueAheadRedBehindFromTheEye) {
  // γ(1 + β cos θ) with β = 0.6: ahead 2, behind 0.5, abeam γ = 1.25.
  RelObserver observer(1, 2, 3, 0, 0.6f, 0, 0, 1);
  EXPECT_NEAR(dopplerFactor(observer, {1, 2, 10}), 2.0f, kTight);
  EXPECT_NEAR(dopplerFactor(observer, {1, 2, -10}), 0.5f, kTight);
  EXPECT_NEAR(dopplerFactor(observer, {-4, 2, 3}), 1.25f, kTight);
  observer.setEyeOffset(-1.0f); // the eye moves to x = 0: directions start there
  EXPECT_NEAR(dopplerFactor(observer, {0, 2, 10}), 2.0f, kTight);
  EXPECT_NEAR(dopplerFactor(observer, observer.eyeEvent().spatial()), 1.25f, kTight); // no NaN on the eye
}

TEST(DopplerFactor, FromTheFrameStateShowsMovingSources) {
  // A source 10 up z resting in a frame moving at 0.9 towards the resting
  // observer: D = γ'(1 + β') = √19; receding, 1/√19. Relative 1e-5.
  RelObserver observer(0, 0, 0, 0, 0.0f, 0, 0, 1);
  FrameTransformation approaching({0, 0, 0}, {0, 0, -0.9f}), receding({0, 0, 0}, {0, 0, 0.9f});
  approaching.update(observer);
  receding.update(observer);
  const float root19 = std::sqrt(19.0f);
  EXPECT_NEAR(dopplerFactor(approaching.state(), {0, 0, 10}), root19, 1e-5f * root19);
  EXPECT_NEAR(dopplerFactor(receding.state(), {0, 0, 10}), 1.0f / root19, 1e-5f);
  EXPECT_NEAR(dopplerFactor(observer, {0, 0, 10}), 1.0f, kTight); // the world-frame value misses it
  // On the observer itself: the transverse value γ' = 1/√0.19, not NaN.
  EXPECT_NEAR(dopplerFactor(approaching.state(), {0, 0, 0}), 1.0f / std::sqrt(0.19f), 1e-5f);

  // In the rest frame it is the observer's own value, in every direction.
  RelObserver flying(1, 2, 3, 0, 0.8f, 1, 2, -2);
  FrameTransformation rest;
  rest.update(flying);
  for (const Vector3& point : {Vector3(4, 1, -2), Vector3(-3, 5, 0.5f), Vector3(1, 2, 13), Vector3(1, 2, 3)})
    EXPECT_NEAR(dopplerFactor(rest.state(), point), dopplerFactor(flying, point), 1e-5f);
}

TEST(LightConeTransform, KeepsDetailFarFromTheOrigin) {
  // 70 000 units out a float resolves 1/128: a plain float difference would
  // put a vertex at 70 000.5 seen from 70 000.3 at 0.203; the double event keeps 0.2.
  RelObserver observer(0, 0, 0, 0, 0.0f, 1, 0, 0);
  observer.setEvent(Vector4d(70000.3, -50000.7, 0.0, 0.0));
  FrameTransformation rest;
  rest.update(observer);
  expectVector(lightCone(rest.state(), {70000.5f, -50000.5f, 0}), {0.2f, 0.2f, 0}, 1e-5f);

  // Through a frame moving at β = 0.5 along x (its event boosted in double): the vertex at x'
  // is at x'/γ + βt, and light leaving at t_e = −(x'/γ − x_o)/(1 + β) is seen that far ahead.
  observer.setEvent(Vector4d(70000.31, 0.0, 0.0, 0.0));
  FrameTransformation moving({0, 0, 0}, {0.5f, 0, 0});
  moving.update(observer);
  const double gamma = 1.0 / std::sqrt(0.75), vertexInFrame = 80829.5;
  const double seen = (vertexInFrame / gamma - 70000.31) / 1.5;
  expectVector(lightCone(moving.state(), {float(vertexInFrame), 0, 0}), {float(seen), 0, 0}, 1e-5f);
}

TEST(LightConeTransform, MapsWorkedPoints) {
  // E' = 0, β' = 0.6 along z: abeam (1, 0, 0) is seen forward at (1, 0, 0.75).
  MovingFrameState state = frameState({0, 0, 0, 0}, 0.6f, {0, 0, 1});
  expectVector(lightCone(state, {1, 0, 0}), {1, 0, 0.75f});
  expectVector(lightCone(state, {0, 0, 2}), {0, 0, 4});
  expectVector(lightCone(state, {0, 0, -2}), {0, 0, -1});
  // At rest only the observer's position is taken off; the normal stays.
  MovingFrameState rest = frameState({1, 2, 3, 7}, 0.0f, {0, 0, 1});
  Vector3 position, normal;
  lightConeTransform(rest, {4, 4, 4}, {0.6f, 0, 0.8f}, true, position, normal);
  expectVector(position, {3, 2, 1});
  expectVector(normal, {0.6f, 0, 0.8f});
}

TEST(LightConeTransform, PlacesVertexOnBackwardLightCone) {
  // The light-like (P − E', −R) boosted into the observer's frame is (p, −|p|), p the apparent position.
  Vector3 velocity = 0.8f * Vector3(1, 2, -2).normalized();
  Vector4 observerEvent(1, 2, 3, 10);
  MovingFrameState state = frameState(observerEvent, 0.8f, velocity);
  for (const Vector3& point : {Vector3(4, 1, -2), Vector3(-3, 5, 0.5f), Vector3(1, 2, 13), Vector3(1.5f, 2, 3)}) {
    Vector3 r = point - observerEvent.spatial();
    Vector4 relative(r, -r.length());
    boost(0.8f, velocity).transform4(relative);
    Vector3 p = lightCone(state, point);
    float tolerance = 1e-5f * std::fabs(relative.t); // relative float rounding
    EXPECT_NEAR(p.length(), -relative.t, tolerance);
    expectVector(p, relative.spatial(), tolerance);
  }
}

TEST(LightConeTransform, ApparentDirectionObeysAberration) {
  // A vertex at angle θ from the motion is seen at cos θ' = (cos θ + β)/(1 + β cos θ).
  const float beta = 0.9f;
  Vector3 d = Vector3(0, 1, 1).normalized(), across = Vector3(0, 1, -1).normalized();
  Vector4 observerEvent(5, -1, 2, 0);
  MovingFrameState state = frameState(observerEvent, beta, d);
  for (float degrees : {0.0f, 30.0f, 90.0f, 135.0f, 180.0f}) {
    float c = std::cos(degrees * float(M_PI) / 180.0f), s = std::sin(degrees * float(M_PI) / 180.0f);
    Vector3 p = lightCone(state, observerEvent.spatial() + 3.0f * (c * d + s * across));
    EXPECT_NEAR(dot(p, d) / p.length(), (c + beta) / (1.0f + beta * c), 1e-4f) << degrees << " degrees";
    EXPECT_GE(dot(p, across), -1e-4f) << "stays on its side";
  }
}

TEST(LightConeTransform, NormalStaysPerpendicularToMappedSurface) {
  // Perpendicular to the images of the tangents (central differences, step 1e-2), on the outer side.
  MovingFrameState state = frameState({0.5f, -1, 2, 4}, 0.7f, {1, -1, 2});
  Vector3 point(3, 1, -2), n = Vector3(1, 2, 2).normalized(), t1 = Vector3(2, -1, 0).normalized();
  Vector3 position, mapped;
  lightConeTransform(state, point, n, true, position, mapped);
  const float h = 1e-2f;
  auto image = [&](const Vector3& t) {
    return (lightCone(state, point + h * t) - lightCone(state, point - h * t)) * (0.5f / h);
  };
  for (const Vector3& t : {t1, cross(n, t1)})
    EXPECT_NEAR(dot(mapped, image(t)) / (mapped.length() * image(t).length()), 0.0f, 1e-3f);
  EXPECT_GT(dot(mapped, image(n)), 0.0f);

  // Without the flag the normal is not written.
  Vector3 untouched(7, 7, 7);
  lightConeTransform(state, point, n, false, position, untouched);
  expectVector(untouched, {7, 7, 7}, 0.0f);
  // A vertex on the observer itself stays there with a finite normal.
  lightConeTransform(state, state.event.spatial(), n, true, position, mapped);
  expectVector(position, {0, 0, 0}, 0.0f);
  EXPECT_TRUE(std::isfinite(mapped.x + mapped.y + mapped.z));
}

TEST(SnapshotTransform, UndoesLightConeMappingOfTheSnapshot) {
  // Snapshot at E = 0, β = 0.6 along z: (1, 0, 0.75) → (1, 0, 0), whatever the observer did since.
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  observer.setAcceleration(1.0f, 0.0f);
  observer.update(0.5f);
  Vector3 position, normal(9, 9, 9);
  snapshotTransform(observer, {1, 0, 0.75f}, {0, 1, 0}, true, position, normal);
  expectVector(position, {1, 0, 0});
  expectVector(normal, {0, 1, 0}, 0.0f);

  RelObserver oblique(0, 0, 0, 0, 0.85f, 1, 1, -1);
  MovingFrameState state = frameState({0, 0, 0, 0}, 0.85f, {1, 1, -1});
  for (const Vector3& point : {Vector3(1, 2, 3), Vector3(-4, 0.5f, 2), Vector3(0, 0, -6)}) {
    snapshotTransform(oblique, point, normal, false, position, normal);
    expectVector(lightCone(state, position), point, 1e-4f);
  }
}

TEST(SnapshotTransform, FollowsTheSnapshotEvent) {
  // At rest the snapshot shows every point where it is, wherever it was taken from.
  RelObserver resting(3, -2, 5, 7, 0.0f, 0, 0, 1);
  Vector3 position, normal;
  for (const Vector3& point : {Vector3(1, 2, 3), Vector3(-4, 0.5f, 2)}) {
    snapshotTransform(resting, point, normal, false, position, normal);
    expectVector(position, point, 1e-5f);
  }
  // Moving along z, a snapshot taken from a point shifted across the flight
  // shows the scene shifted with it.
  RelObserver atOrigin(0, 0, 0, 0, 0.6f, 0, 0, 1), shifted(3, -2, 0, 0, 0.6f, 0, 0, 1);
  Vector3 shift(3, -2, 0), fromOrigin, fromShifted;
  for (const Vector3& point : {Vector3(1, 2, 3), Vector3(-4, 0.5f, -2)}) {
    snapshotTransform(atOrigin, point, normal, false, fromOrigin, normal);
    snapshotTransform(shifted, point + shift, normal, false, fromShifted, normal);
    expectVector(fromShifted, fromOrigin + shift, 1e-4f);
  }
}

TEST(FrameTransformation, CarriesObserverIntoTheFrame) {
  // The resting frame sees the observer's own state; a translated one adds its translation.
  RelObserver observer(1, 2, 3, 4, 0.6f, 0, 0, 1);
  FrameTransformation world, shifted({5, 0, 0}, {0, 0, 0});
  world.update(observer);
  shifted.update(observer);
  expectEvent(world.state().event, {1, 2, 3, 5}); // t = γ·τ0
  expectVector(world.state().direction, {0, 0, 1});
  expectEvent(shifted.state().event, {6, 2, 3, 5});

  // A frame moving at 0.6 along x sees a resting observer move along −x.
  RelObserver resting(0, 0, 0, 0, 0.0f, 0, 0, 1);
  FrameTransformation moving({0, 0, 0}, {0.6f, 0, 0});
  moving.update(resting);
  EXPECT_NEAR(moving.state().speed, 0.6f, kTight);
  EXPECT_NEAR(moving.state().gamma, 1.25f, kTight);
  expectVector(moving.state().direction, {-1, 0, 0});
  // An observer flying with the frame rests in it; a new velocity rebuilds the boost.
  RelObserver companion(0, 0, 0, 0, 0.6f, 1, 0, 0);
  moving.update(companion);
  EXPECT_NEAR(moving.state().speed, 0.0f, kTight);
  moving.setVelocity({0, 0, 0});
  moving.update(companion);
  EXPECT_NEAR(moving.state().speed, 0.6f, kTight);
}

TEST(FrameTransformation, ShowsMovingMarkersWhereTheyWereWhenTheLightLeft) {
  // Markers resting in a frame moving at 0.6 along x are at x(t) = v·t + P'⊥ + P'∥/γ;
  // the observer resting at the origin at t = 10 sees each where it was at the retarded
  // time t_r, |x(t_r)| = 10 − t_r, found by bisection in double.
  const double beta = 0.6, gamma = 1.25, now = 10;
  RelObserver observer(0, 0, 0, float(now), 0.0f, 0, 0, 1);
  FrameTransformation frame({0, 0, 0}, {float(beta), 0, 0});
  frame.update(observer);
  for (const Vector3& marker : {Vector3(0, 0, 0), Vector3(0, 2, 0), Vector3(1.5f, -1, 3)}) {
    auto world = [&](double t, int axis) {
      return axis == 0 ? beta * t + marker.x / gamma : axis == 1 ? double(marker.y) : double(marker.z);
    };
    auto lag = [&](double t) { // light-travel distance minus elapsed time; rises with t
      double x = world(t, 0), y = world(t, 1), z = world(t, 2);
      return std::sqrt(x * x + y * y + z * z) - (now - t);
    };
    double early = -100, late = now;
    for (int i = 0; i < 200; ++i) (lag(0.5 * (early + late)) < 0 ? early : late) = 0.5 * (early + late);
    Vector3 seen(float(world(early, 0)), float(world(early, 1)), float(world(early, 2)));
    expectVector(lightCone(frame.state(), marker), seen, 1e-4f);
  }
}

} // namespace
} // namespace quillmere
