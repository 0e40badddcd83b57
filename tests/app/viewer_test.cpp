#include "app/viewer/flight_controller.h"
#include "app/viewer/playback_pacing.h"

#include "relativity/observer.h"
#include "render/display_manager.h"
#include "gl/render_state.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

struct ViewerFixture {
  DvRenderState state;
  RelObserver observer{0, 0, 0, 0, 0.5f, 0, 0, 1};
  DvDisplayManager manager{state};
  FlightController viewer{manager};

  ViewerFixture() {
    manager.setObserver(&observer);
    manager.timeStep = 0.5f;
    manager.endTime = 1.0f;
    viewer.setStartValues(Vector3(1, 2, 3), Vector3(0, 0, 1), 0.0f, 0.5f);
  }
};

TEST(FlightController, RunsUntilTheEndTimeAndStopsItself) {
  ViewerFixture f;
  EXPECT_EQ(f.viewer.stopped(), 1); // a new viewer stands still
  f.viewer.advance();
  EXPECT_EQ(f.manager.frameCounter, 0);
  f.viewer.characterKey('s');
  EXPECT_EQ(f.viewer.stopped(), 0);
  f.viewer.advance(); // time 0.5
  f.viewer.advance(); // time 1.0, not past the end
  EXPECT_EQ(f.viewer.stopped(), 0);
  f.viewer.advance(); // 1.5: past the end
  EXPECT_EQ(f.viewer.stopped(), 1);
  EXPECT_EQ(f.manager.frameCounter, 3);
  // Start resumes: one more step, and it stops again.
  f.viewer.setStopped(0);
  f.viewer.advance();
  EXPECT_EQ(f.viewer.stopped(), 1);
  // Reset brings back the start values and the time; the counter stays.
  f.viewer.reset();
  EXPECT_FLOAT_EQ(f.manager.time, 0.0f);
  EXPECT_FLOAT_EQ(f.observer.event().x, 1.0f);
  EXPECT_EQ(f.manager.frameCounter, 4);
  EXPECT_EQ(f.viewer.characterKey('Q'), FlightController::KeyResult::Quit);
}

TEST(FlightController, RightDragSpinsTheCameraAndTheElevationBouncesAtItsLimit) {
  ViewerFixture f;
  f.viewer.mousePress(FlightController::kRightButton, 100, 100, 0);
  f.viewer.mouseMove(120, 140); // dx 20, dy 40: azimuth 10, elevation 20
  EXPECT_FLOAT_EQ(f.viewer.azimuth(), 10.0f);
  EXPECT_FLOAT_EQ(f.viewer.elevation(), 20.0f);
  // Smoothed velocities: 0.2·(last − new) each move: −2 and −4.
  f.viewer.mouseRelease(FlightController::kRightButton);
  EXPECT_FLOAT_EQ(f.viewer.azimuthRate(), 2.0f);
  EXPECT_FLOAT_EQ(f.viewer.elevationRate(), 4.0f);
  // Spinning while stopped: the elevation climbs to 89.99, then its rate reverses
  // and, being larger, sets the azimuth rate's magnitude.
  for (int i = 0; i < 20; ++i) f.viewer.advance();
  EXPECT_LE(f.viewer.elevation(), 89.99f);
  EXPECT_FLOAT_EQ(f.viewer.elevationRate(), -4.0f);
  EXPECT_FLOAT_EQ(f.viewer.azimuthRate(), 4.0f);

  // A slow release leaves the camera still.
  f.viewer.resetView();
  f.viewer.mousePress(FlightController::kRightButton, 0, 0, 0);
  f.viewer.mouseMove(0, 0);
  f.viewer.mouseRelease(FlightController::kRightButton);
  EXPECT_EQ(f.viewer.azimuthRate(), 0.0f);
  EXPECT_EQ(f.viewer.elevationRate(), 0.0f);
}

TEST(FlightController, LeftDragMovesTheCameraWhileStoppedAndSteersWhileRunning) {
  ViewerFixture f;
  f.state.focusDistance = 3.0e8f; // no part in the step any more
  f.viewer.setSceneRadius(200.0f);
  f.viewer.mousePress(FlightController::kLeftButton, 50, 50, 0);
  f.viewer.mousePress(FlightController::kRightButton, 0, 0, 0); // ignored while a button is held
  EXPECT_EQ(f.viewer.heldButton(), FlightController::kLeftButton);
  f.viewer.mouseMove(50, 60); // 10 pixels down: back by 1/100 of the scene's radius per pixel
  EXPECT_FLOAT_EQ(f.viewer.distance(), 20.0f);
  f.viewer.mouseRelease(FlightController::kLeftButton);

  // Running at 0.5 c: left drag turns, Shift+left accelerates; release clears both.
  f.viewer.setStopped(0);
  f.viewer.mousePress(FlightController::kLeftButton, 0, 0, 0);
  f.viewer.mouseMove(10, 0);
  float acceleration, turnRate;
  f.observer.getAcceleration(acceleration, turnRate);
  EXPECT_FLOAT_EQ(turnRate, 0.2f);
  f.viewer.mouseRelease(FlightController::kLeftButton);
  f.viewer.mousePress(FlightController::kLeftButton, 0, 0, FlightController::kShift);
  f.viewer.mouseMove(0, -20);
  f.observer.getAcceleration(acceleration, turnRate);
  EXPECT_FLOAT_EQ(acceleration, 0.4f);
  f.viewer.mouseRelease(FlightController::kLeftButton);
  f.observer.getAcceleration(acceleration, turnRate);
  EXPECT_EQ(acceleration, 0.0f);
  EXPECT_EQ(turnRate, 0.0f);
}

TEST(PlaybackPacing, StepsOncePerFrameIntervalAtTheChosenRate) {
  PlaybackPacing pacing;
  pacing.setFrameRate(25.0);
  EXPECT_DOUBLE_EQ(pacing.stepInterval(), 0.04);
  EXPECT_EQ(pacing.rateLabel(), "");

  // Ticks every millisecond for 2 s: 50 steps at 25 per second (±1 for the ends).
  auto stepsIn = [&](double seconds) {
    pacing.restart(0.0);
    int steps = 0;
    for (int ms = 1; ms <= int(seconds * 1000); ++ms) steps += pacing.stepDue(ms / 1000.0);
    return steps;
  };
  EXPECT_NEAR(stepsIn(2.0), 50, 1);
  pacing.faster();
  EXPECT_EQ(pacing.rateLabel(), "2x");
  EXPECT_NEAR(stepsIn(2.0), 100, 1);
  pacing.slower();
  pacing.slower();
  EXPECT_EQ(pacing.rateLabel(), "1/2x");
  EXPECT_DOUBLE_EQ(pacing.stepInterval(), 0.08);
  EXPECT_NEAR(stepsIn(2.0), 25, 1);

  // A late step does not make the next ones hurry.
  pacing.restart(0.0); // next at 0.08
  EXPECT_FALSE(pacing.stepDue(0.07));
  EXPECT_TRUE(pacing.stepDue(1.0));
  EXPECT_FALSE(pacing.stepDue(1.05));
  EXPECT_TRUE(pacing.stepDue(1.08));

  // The rate stays within 1/64x … 64x.
  for (int i = 0; i < 20; ++i) pacing.faster();
  EXPECT_DOUBLE_EQ(pacing.rate(), 64.0);
  for (int i = 0; i < 20; ++i) pacing.slower();
  EXPECT_EQ(pacing.rateLabel(), "1/64x");
}

} // namespace
} // namespace quillmere
