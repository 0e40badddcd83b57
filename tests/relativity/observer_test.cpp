#include "relativity/observer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quillmere {
namespace {

constexpr float kTight = 1e-5f; // single-precision rounding of a few operations

void expectVector(const Vector3& actual, const Vector3& expected, float tolerance = kTight) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectEvent(const Vector4& actual, const Vector4& expected, float tolerance = kTight) {
  expectVector(actual.spatial(), expected.spatial(), tolerance);
  EXPECT_NEAR(actual.t, expected.t, tolerance);
}

void expectMatrix(const Matrix4& actual, const Matrix4& expected, float tolerance = kTight) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

bool allFinite(const RelObserver& observer) {
  const Vector4& e = observer.event();
  bool finite = std::isfinite(e.x) && std::isfinite(e.y) && std::isfinite(e.z) && std::isfinite(e.t) &&
                std::isfinite(observer.speed()) && std::isfinite(observer.gamma());
  for (float v : observer.viewMatrix().m) finite = finite && std::isfinite(v);
  const Vector3& d = observer.flightDirection();
  const Vector3& up = observer.upDirection();
  return finite && std::isfinite(d.x + d.y + d.z) && std::isfinite(up.x + up.y + up.z);
}

// The camera's x axis (its right) in world coordinates: the first row of the
// flight orientation.
Vector3 cameraRight(const RelObserver& observer) {
  const Matrix4& f = observer.flightOrientation();
  return {f(0, 0), f(0, 1), f(0, 2)};
}

TEST(RelObserver, ConstructorPlacesObserverFromStartValues) {
  // γ = 1/√(1 − 0.36) = 1.25; the event's time is γ·τ0; the direction is normalised.
  RelObserver observer(0, 0, 0, 2.0f, 0.6f, 0, 0, 5);
  EXPECT_NEAR(observer.gamma(), 1.25f, kTight);
  expectEvent(observer.event(), {0, 0, 0, 2.5f});
  expectEvent(observer.eyeEvent(), {0, 0, 0, 2.5f});
  expectVector(observer.flightDirection(), {0, 0, 1});
  expectVector(observer.upDirection(), {0, 1, 0});
  expectEvent(observer.fourVelocity(), {0, 0, 0.75f, 1.25f});
  EXPECT_FLOAT_EQ(observer.properTime(), 2.0f);
  // The camera looks along its own −z axis: rows x = (−1,0,0), y = (0,1,0), z = (0,0,−1).
  expectVector(cameraRight(observer), {-1, 0, 0});
  expectMatrix(observer.viewMatrix(), observer.flightOrientation());
  // The snapshot holds the start state.
  expectEvent(observer.snapshotEvent(), {0, 0, 0, 2.5f});
  EXPECT_FLOAT_EQ(observer.snapshotSpeed(), 0.6f);
  expectVector(observer.snapshotDirection(), {0, 0, 1});

  // For a climbing, oblique flight the up direction is still a unit vector
  // perpendicular to the flight direction and leaning towards world up.
  RelObserver climbing(0, 0, 0, 0, 0.5f, 1, 2, 3);
  EXPECT_NEAR(dot(climbing.upDirection(), climbing.flightDirection()), 0.0f, kTight);
  EXPECT_NEAR(climbing.upDirection().length(), 1.0f, kTight);
  EXPECT_GT(climbing.upDirection().y, 0.0f);
  // Straight up: the world-up hint is useless, the fallback (0, 0, 1) keeps the frame finite.
  RelObserver vertical(0, 0, 0, 0, 0.5f, 0, 3, 0);
  EXPECT_TRUE(allFinite(vertical));
  EXPECT_NEAR(dot(vertical.upDirection(), vertical.flightDirection()), 0.0f, kTight);
}

TEST(RelObserver, UpdateWithoutControlsMovesInertially) {
  RelObserver observer(1, 2, 3, 0, 0.6f, 0, 0, 1);
  observer.update(0.5f);
  // Moved by (γβ·d·Δτ, γ·Δτ) = ((0, 0, 0.375), 0.625); β, d and up unchanged.
  expectEvent(observer.event(), {1, 2, 3.375f, 0.625f});
  expectEvent(observer.eyeEvent(), observer.event());
  EXPECT_NEAR(observer.speed(), 0.6f, kTight);
  expectVector(observer.flightDirection(), {0, 0, 1});
  expectVector(observer.upDirection(), {0, 1, 0});
  EXPECT_FLOAT_EQ(observer.properTime(), 0.5f);
  // Proper time is the invariant interval: Δt² − |Δx|² = Δτ².
  Vector4 e = observer.event();
  float dz = e.z - 3.0f;
  EXPECT_NEAR(e.t * e.t - dz * dz, 0.25f, kTight);
}

TEST(RelObserver, ForwardThrustTakesOneEulerStep) {
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  observer.setAcceleration(1.0f, 0.0f);
  observer.update(0.1f);
  // u' = 0.75 + 0.1·1·1.25 = 0.875, γ' = √(0.875² + 1), β' = 0.875/γ'.
  double gamma = std::sqrt(0.875 * 0.875 + 1.0);
  EXPECT_NEAR(observer.gamma(), gamma, kTight);
  EXPECT_NEAR(observer.speed(), 0.875 / gamma, kTight);
  // The event moved with the old 4-velocity; the stored 4-velocity is the old one.
  expectEvent(observer.event(), {0, 0, 0.075f, 0.125f});
  expectEvent(observer.fourVelocity(), {0, 0, 0.75f, 1.25f});
}

TEST(RelObserver, ConstantThrustFollowsHyperbolicMotion) {
  // From rest with proper acceleration α: β = tanh(ατ), x = (cosh(ατ) − 1)/α,
  // t = sinh(ατ)/α. Euler steps of 0.001 stay within ~1e-4 of β and ~1e-3 of x, t.
  const double alpha = 0.5, step = 0.001;
  RelObserver observer(0, 0, 0, 0, 0.0f, 1, 0, 0);
  observer.setAcceleration(float(alpha), 0.0f);
  for (int k = 1; k <= 2000; ++k) observer.update(float(k * step));
  double tau = 2.0;
  EXPECT_NEAR(observer.speed(), std::tanh(alpha * tau), 2e-4);
  EXPECT_NEAR(observer.event().x, (std::cosh(alpha * tau) - 1.0) / alpha, 2e-3);
  EXPECT_NEAR(observer.event().t, std::sinh(alpha * tau) / alpha, 2e-3);
  expectVector(observer.flightDirection(), {1, 0, 0});
  EXPECT_FLOAT_EQ(observer.acceleration(), float(alpha)); // β < 0.999: thrust still allowed

  // Thrust is refused once the speed passes 0.999.
  RelObserver fast(0, 0, 0, 0, 0.9989f, 1, 0, 0);
  fast.setAcceleration(1.0f, 0.0f);
  fast.update(0.1f);
  EXPECT_GT(fast.speed(), 0.999f);
  EXPECT_EQ(fast.acceleration(), 0.0f);
}

TEST(RelObserver, PositiveTurnRateTurnsTowardsTheRight) {
  // γβ = 0.75; the sideways push ω·Δτ turns the 4-velocity by ω·Δτ/(γβ)
  // per step, so ω = 0.5 over τ = 1 turns by 2/3 rad while the speed stays.
  RelObserver observer(0, 0, 0, 0, 0.6f, 0, 0, 1);
  Vector3 right = cameraRight(observer);
  observer.setAcceleration(0.0f, 0.5f);
  for (int k = 1; k <= 1000; ++k) observer.update(k * 0.001f);
  const Vector3& d = observer.flightDirection();
  EXPECT_GT(dot(d, right), 0.0f);
  EXPECT_NEAR(std::atan2(dot(d, right), d.z), 2.0 / 3.0, 1e-3);
  EXPECT_NEAR(d.y, 0.0f, kTight);
  expectVector(observer.upDirection(), {0, 1, 0});
  EXPECT_NEAR(observer.speed(), 0.6f, 1e-3); // Euler growth of |u| is second order
}

TEST(RelObserver, SetAccelerationAppliesLimits) {
  float alpha = -9, omega = -9;
  RelObserver nearLight(0, 0, 0, 0, 0.9995f, 0, 0, 1);
  nearLight.setAcceleration(0.5f, 0.0f);
  nearLight.getAcceleration(alpha, omega);
  EXPECT_EQ(alpha, 0.0f);

  RelObserver slow(0, 0, 0, 0, 0.05f, 0, 0, 1);
  slow.setAcceleration(-0.5f, 1.0f);
  slow.getAcceleration(alpha, omega);
  EXPECT_EQ(alpha, 0.0f);
  EXPECT_EQ(omega, 0.0f);
  slow.setAcceleration(0.5f, 0.0f); // thrust from low speed is allowed
  EXPECT_EQ(slow.acceleration(), 0.5f);

  // Beyond ±1 the thrust is capped; a turn rate beyond ±2 becomes ±1.
  RelObserver cruising(0, 0, 0, 0, 0.5f, 0, 0, 1);
  cruising.setAcceleration(3.0f, 2.5f);
  cruising.getAcceleration(alpha, omega);
  EXPECT_EQ(alpha, 1.0f);
  EXPECT_EQ(omega, 1.0f);
  cruising.setAcceleration(-3.0f, -2.5f);
  EXPECT_EQ(cruising.acceleration(), -1.0f);
  EXPECT_EQ(cruising.turnRate(), -1.0f);
  cruising.setAcceleration(0.25f, 1.5f);
  EXPECT_EQ(cruising.turnRate(), 1.5f);

  // The arrow keys bypass those limits; update applies only the speed-dependent ones.
  cruising.adjustControls(2.0f, 2.0f);
  EXPECT_EQ(cruising.acceleration(), 2.25f);
  EXPECT_EQ(cruising.turnRate(), 3.5f);
}

TEST(RelObserver, AtRestWithoutThrustKeepsDirectionAndOrientation) {
  RelObserver observer(0, 0, 0, 0, 0.0f, 1, 0, 0);
  observer.roll(0.3f);
  observer.update(0.0f);
  Matrix4 orientation = observer.flightOrientation();
  Vector3 up = observer.upDirection();
  observer.update(1.0f);
  EXPECT_TRUE(allFinite(observer));
  EXPECT_EQ(observer.speed(), 0.0f);
  EXPECT_EQ(observer.gamma(), 1.0f);
  expectVector(observer.flightDirection(), {1, 0, 0}, 0.0f);
  expectMatrix(observer.flightOrientation(), orientation, 0.0f);
  expectVector(observer.upDirection(), up, kTight);
  expectEvent(observer.event(), {0, 0, 0, 1}); // time passes at rest
  // Thrust from rest sets off along the kept direction.
  observer.setAcceleration(1.0f, 0.0f);
  observer.update(1.1f);
  observer.update(1.2f);
  EXPECT_GT(observer.speed(), 0.0f);
  expectVector(observer.flightDirection(), {1, 0, 0});
}

TEST(RelObserver, RejectsStartValuesThatCannotDescribeAFlight) {
  testing::internal::CaptureStdout();
  RelObserver observer(0, 0, 0, 1, 1.0f, 0, 0, 0);
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find("RelObserver::init(): speed 1 is not in [0, 1), using 0\n"), std::string::npos);
  EXPECT_NE(printed.find("RelObserver::init(): zero flight direction"), std::string::npos);
  EXPECT_TRUE(allFinite(observer));
  EXPECT_EQ(observer.speed(), 0.0f);
  expectVector(observer.flightDirection(), {0, 0, 1});

  testing::internal::CaptureStdout();
  observer.setFlightDirection(0, 0, 0);
  observer.setUpDirection(0, 0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "RelObserver::setFlightDirection(): division by zero\n"
            "RelObserver::setUpDirection(): division by zero\n");
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
  expectMatrix(observer.headRotation(), head);
  expectMatrix(observer.viewMatrix(), multiply(head, observer.flightOrientation()));

  // roll(θ) turns the world up seen by the flight frame to (sin θ, cos θ, 0);
  // it carries over into later steps.
  observer.roll(0.3f);
  observer.update(0.0f);
  expectVector(observer.upDirection(), {std::sin(0.3f), std::cos(0.3f), 0});
  observer.update(0.5f);
  expectVector(observer.upDirection(), {std::sin(0.3f), std::cos(0.3f), 0});
  expectVector(observer.flightDirection(), {0, 0, 1});

  Matrix4 recordedFlight = Matrix4::rotation(0, 1, 0, 1.0f);
  observer.setMatrices(recordedFlight, head);
  expectMatrix(observer.viewMatrix(), multiply(head, recordedFlight));
}

TEST(RelObserver, EyeOffsetShiftsEyeEventAlongLocalAxis) {
  RelObserver observer(1, 2, 3, 0, 0.6f, 0, 0, 1);
  observer.setEyeOffset(0.0f);
  expectEvent(observer.eyeEvent(), observer.event(), 0.0f);
  // Across the flight direction: −s along the camera's x axis, which points
  // to world −x here; the boost leaves a transverse offset alone.
  observer.setEyeOffset(0.5f);
  expectEvent(observer.eyeEvent(), {1.5f, 2, 3, 0});
  // After a quarter turn of the head (yaw +π/2) the camera's x axis points
  // along −d: the offset lies along d and is stretched by γ with a time part −γβ·s.
  observer.yaw(float(M_PI / 2));
  observer.update(0.0f);
  observer.setEyeOffset(0.4f);
  expectEvent(observer.eyeEvent(), {1, 2, 3 + 0.5f, -0.3f});
}

} // namespace
} // namespace quillmere
