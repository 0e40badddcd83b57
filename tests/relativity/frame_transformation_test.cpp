#include "relativity/frame_transformation.h"

#include "relativity/observer.h"

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

TEST(FrameTransformation, RestingFramesSeeTheObserversOwnState) {
  RelObserver observer(1, 2, 3, 4, 0.6f, 0, 0, 1);
  // The default frame leaves event and motion alone.
  FrameTransformation world;
  world.update(observer);
  const MovingFrameState& state = world.state();
  expectVector(state.event.spatial(), {1, 2, 3});
  EXPECT_NEAR(state.event.t, 5.0f, kTight); // γ·τ0 = 1.25·4
  EXPECT_NEAR(state.speed, 0.6f, kTight);
  EXPECT_NEAR(state.gamma, 1.25f, kTight);
  expectVector(state.direction, {0, 0, 1});

  // A translated frame at rest adds its translation to the event.
  FrameTransformation shifted({5, 0, 0}, {0, 0, 0});
  shifted.update(observer);
  expectVector(shifted.state().event.spatial(), {6, 2, 3});
  EXPECT_NEAR(shifted.state().event.t, 5.0f, kTight);
}

TEST(FrameTransformation, MovingFrameSeesObserverMoveTheOtherWay) {
  // Observer at rest at the origin, frame moving at 0.6 along x: in the
  // frame the observer moves at 0.6 along −x, 4-velocity (−0.75, 0, 0, 1.25).
  RelObserver observer(0, 0, 0, 0, 0.0f, 0, 0, 1);
  FrameTransformation frame({0, 0, 0}, {0.6f, 0, 0});
  // Before the first update it holds the translation event, at rest.
  EXPECT_EQ(frame.state().speed, 0.0f);
  EXPECT_EQ(frame.state().gamma, 1.0f);
  frame.update(observer);
  EXPECT_NEAR(frame.state().speed, 0.6f, kTight);
  EXPECT_NEAR(frame.state().gamma, 1.25f, kTight);
  expectVector(frame.state().direction, {-1, 0, 0});

  // An observer flying with the frame rests in it.
  RelObserver companion(0, 0, 0, 0, 0.6f, 1, 0, 0);
  frame.update(companion);
  EXPECT_NEAR(frame.state().speed, 0.0f, kTight);
  EXPECT_NEAR(frame.state().gamma, 1.0f, kTight);

  // Setting the velocity rebuilds the boost.
  frame.setVelocity({0, 0, 0});
  frame.update(companion);
  EXPECT_NEAR(frame.state().speed, 0.6f, kTight);
  expectVector(frame.state().direction, {1, 0, 0});
}

} // namespace
} // namespace quillmere
