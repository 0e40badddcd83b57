#include "relativity/observer.h"

#include "relativity/lorentz.h"

#include "expect_vector.h"

#include <cmath>

namespace quillmere {
namespace {

void expectMatrix(const Matrix4& actual, const Matrix4& expected, float tolerance = kTight) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

// The camera's x axis (its right) in world axes: the flight orientation's first row.
Vector3 cameraRight(const RelObserver& observer) {
  const Matrix4& f = observer.flightOrientation();
  return {f(0, 0), f(0, 1), f(0, 2)};
}

TEST(RelObserver, ConstructorPlacesObserverFromStartValues) {
  // γ = 1/√(1 − 0.36) = 1.25; the event's time is γ·τ0; the direction is normalised.
  RelObserver observer(0, 0, 0, 2.0f, 0.6f, 0, 0, 5);
  EXPECT_NEAR(observer.gamma(), 1.25f, kTight);
  expectEvent(observer.event(), {0, 0, 0, 2.5f});
  expectVector(observer.flightDirection(), {0, 0, 1});
  expectVector(observer.upDirection(), {0, 1, 0});
  expectEvent(observer.fourVelocity(), {0, 0, 0.75f, 1.25f});
  expectVector(cameraRight(observer), {-1, 0, 0}); // looking along −z of the camera
  expectEvent(observer.snapshotEvent(), observer.event(), 0.0f);

  // Climbing obliquely, up is still a unit vector across the flight, leaning to world up.
  RelObserver climbing(0, 0, 0, 0, 0.5f, 1, 2, 3);
  EXPECT_NEAR(dot(climbing.upDirection(), climbing.flightDirection()), 0.0f, kTight);
  EXPECT_NEAR(climbing.upDirection().length(), 1.0f, kTight);
  EXPECT_GT(climbing.upDirection().y, 0.0f);
}

TEST(RelObserver, ThrustFollowsHyperbolicMotion) {
  // One step: u' = 0.75 + 0.1·1·1.25 = 0.875, γ' = √(u'² + 1); the event
  // moves with the old 4-velocity, which stays stored.
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  observer.setAcceleration(1.0f, 0.0f);
  observer.update(0.1f);
  double gamma = std::sqrt(0.875 * 0.875 + 1.0);
  EXPECT_NEAR(observer.speed(), 0.875 / gamma, kTight);
  expectEvent(observer.event(), {0, 0, 0.075f, 0.125f});
  expectEvent(observer.fourVelocity(), {0, 0, 0.75f, 1.25f});

  // From rest with proper acceleration α: β = tanh(ατ), x = (cosh(ατ) − 1)/α,
  // t = sinh(ατ)/α; Euler steps of 0.001 stay within ~1e-4 (β) and ~1e-3 (x, t).
  const double alpha = 0.5;
  RelObserver rocket(0, 0, 0, 0, 0.0f, 1, 0, 0);
  rocket.setAcceleration(float(alpha), 0.0f);
  for (int k = 1; k <= 2000; ++k) rocket.update(k * 0.001f);
  EXPECT_NEAR(rocket.speed(), std::tanh(alpha * 2), 2e-4);
  EXPECT_NEAR(rocket.event().x, (std::cosh(alpha * 2) - 1.0) / alpha, 2e-3);
  EXPECT_NEAR(rocket.event().t, std::sinh(alpha * 2) / alpha, 2e-3);

  // Thrust is refused once the speed passes 0.999.
  RelObserver fast(0, 0, 0, 0, 0.9989f, 1, 0, 0);
  fast.setAcceleration(1.0f, 0.0f);
  fast.update(0.1f);
  EXPECT_GT(fast.speed(), 0.999f);
  EXPECT_EQ(fast.acceleration(), 0.0f);
}

TEST(RelObserver, CoastsLongFlightsWithoutDrift) {
  // 10⁵ steps of Δτ = 0.1 at β = 0.99: t = γτ ≈ 70 888, x = γβτ (float sums ended 13 units off).
  RelObserver observer(0, 0, 0, 0, 0.99f, 1, 0, 0);
  for (int k = 1; k <= 100000; ++k) observer.update(k * 0.1);
  const double beta = double(0.99f), gamma = 1.0 / std::sqrt(1.0 - beta * beta), tau = 10000.0;
  EXPECT_NEAR(observer.properTimePrecise(), tau, 1e-9);
  EXPECT_NEAR(observer.eventPrecise().t, gamma * tau, 1e-5);
  EXPECT_NEAR(observer.eventPrecise().x, beta * observer.eventPrecise().t, 1e-5);
  EXPECT_EQ(observer.eventPrecise().y, 0.0);
  // The float event is its rounding (1/256 apart at 70 000).
  EXPECT_NEAR(observer.event().x, gamma * beta * tau, 1.0 / 256);
  EXPECT_EQ(observer.speed(), 0.99f);
}

TEST(RelObserver, PositiveTurnRateTurnsTowardsTheRight) {
  // The sideways push ω·Δτ turns the 4-velocity (γβ = 0.75) by ω·Δτ/(γβ):
  // ω = 0.5 over τ = 1 turns by 2/3 rad, level, at unchanged speed.
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  Vector3 right = cameraRight(observer);
  observer.setAcceleration(0.0f, 0.5f);
  for (int k = 1; k <= 1000; ++k) observer.update(k * 0.001f);
  const Vector3& d = observer.flightDirection();
  EXPECT_NEAR(std::atan2(dot(d, right), d.z), 2.0 / 3.0, 1e-3);
  expectVector(observer.upDirection(), {0, 1, 0});
  EXPECT_NEAR(observer.speed(), 0.6f, 1e-3); // Euler growth of |u| is second order
}

TEST(RelObserver, AtRestWithoutThrustKeepsDirectionAndOrientation) {
  RelObserver observer(0, 0, 0, 0, 0.0f, 1, 0, 0);
  observer.roll(0.3f);
  observer.update(0.0f);
  Matrix4 orientation = observer.flightOrientation();
  observer.update(1.0f);
  EXPECT_EQ(observer.speed(), 0.0f);
  EXPECT_EQ(observer.gamma(), 1.0f);
  expectVector(observer.flightDirection(), {1, 0, 0}, 0.0f);
  expectMatrix(observer.flightOrientation(), orientation, 0.0f);
  expectMatrix(observer.viewMatrix(), orientation, 0.0f);
  expectEvent(observer.event(), {0, 0, 0, 1}); // time passes at rest
  // Thrust sets off along the kept direction.
  observer.setAcceleration(1.0f, 0.0f);
  observer.update(1.1f);
  observer.update(1.2f);
  EXPECT_GT(observer.speed(), 0.0f);
  expectVector(observer.flightDirection(), {1, 0, 0});
}

TEST(RelObserver, RefusesValuesWithoutADirectionOrBeyondLight) {
  testing::internal::CaptureStderr();
  RelObserver observer(0, 0, 0, 1, 1.0f, 0, 0, 0);
  observer.setFlightDirection(0, 0, 0);
  observer.setUpDirection(0, 0, 0);
  EXPECT_NE(testing::internal::GetCapturedStderr(), ""); // each refusal is said
  EXPECT_EQ(observer.gamma(), 1.0f);
  expectVector(observer.flightDirection(), {0, 0, 1});
  expectVector(observer.upDirection(), {0, 1, 0});
  observer.setFlightDirection(0, 3, 4);
  expectVector(observer.flightDirection(), {0, 0.6f, 0.8f});
}

TEST(RelObserver, HeadTurnsAndRollReachViewMatrixAtNextUpdate) {
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  Matrix4 flight = observer.flightOrientation();
  observer.yaw(0.4f);
  observer.pitch(-0.2f);
  expectMatrix(observer.viewMatrix(), flight, 0.0f); // not yet
  observer.update(0.0f);
  Matrix4 head = multiply(Matrix4::rotation(1, 0, 0, -0.2f), Matrix4::rotation(0, 1, 0, 0.4f));
  expectMatrix(observer.viewMatrix(), multiply(head, flight));

  // roll(θ) tilts the flight frame's up to (sin θ, cos θ, 0), also in later steps.
  observer.roll(0.3f);
  observer.update(0.0f);
  observer.update(0.5f);
  expectVector(observer.upDirection(), {std::sin(0.3f), std::cos(0.3f), 0});
}

TEST(RelObserver, EyeOffsetShiftsEyeEventAlongLocalAxis) {
  RelObserver observer(1, 2, 3, 0, 0.6f, 0, 0, 1);
  observer.setEyeOffset(0.0f);
  expectEvent(observer.eyeEvent(), observer.event(), 0.0f);
  // −s along the camera's x axis (world −x here); a transverse offset is not boosted.
  observer.setEyeOffset(0.5f);
  expectEvent(observer.eyeEvent(), {1.5f, 2, 3, 0});
  // After yaw +π/2 the camera's x axis is −d: the offset is stretched by γ, and
  // the eye, simultaneous in the observer's frame, is γβ·s = 0.3 later in the world.
  observer.yaw(float(M_PI / 2));
  observer.update(0.0f);
  observer.setEyeOffset(0.4f);
  expectEvent(observer.eyeEvent(), {1, 2, 3.5f, 0.3f});
  // Boosted back into the observer's frame: the observer's time, 0.4 ahead.
  Vector4 relative(observer.eyeEvent().spatial() - observer.event().spatial(),
                   observer.eyeEvent().t - observer.event().t);
  Vector4 inObserverFrame = boostEvent(observer, relative);
  EXPECT_NEAR(inObserverFrame.t, 0.0f, kTight);
  EXPECT_NEAR(inObserverFrame.z, 0.4f, kTight);
}

} // namespace
} // namespace quillmere
