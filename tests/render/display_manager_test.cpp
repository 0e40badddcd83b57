#include "render/display_manager.h"

#include "../relativity/expect_vector.h"

#include "relativity/observer.h"
#include "gl/render_state.h"
#include "render/status_overlay.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

// A display manager without a scene and an observer at rest, so every
// sub-frame's event time is its proper time.
struct Schedule {
  DvRenderState state;
  RelObserver observer{0, 0, 0, 0, 0, 0, 0, 1};
  StatusOverlay overlay;
  DvDisplayManager manager{state};

  Schedule() {
    manager.setObserver(&observer);
    manager.setOverlay(&overlay);
  }
};

TEST(DisplayManager, AdvanceTimeSamplesTheStepAndStopsPastTheEnd) {
  Schedule s;
  s.state.motionSamples = 8;
  s.state.motionInterval = 0.08f;
  s.manager.time = 2.0f;
  s.manager.timeStep = 0.5f;
  s.manager.endTime = 2.5f;
  EXPECT_TRUE(s.manager.advanceTime()); // the new time 2.5 is not past the end
  // Sub-frames at time + i·0.08/7, i = 0..7.
  ASSERT_EQ(s.manager.recorder().count(), 8);
  EXPECT_NEAR(s.manager.recorder().subFrame(0).event.t, 2.0f, 1e-5f);
  EXPECT_NEAR(s.manager.recorder().subFrame(1).event.t, 2.0f + 0.08f / 7, 1e-5f);
  EXPECT_NEAR(s.manager.recorder().subFrame(7).event.t, 2.08f, 1e-5f);
  // The overlay shows the time before the step and the counter before it grows.
  EXPECT_FLOAT_EQ(s.overlay.time, 2.0f);
  EXPECT_EQ(s.overlay.frameNumber, 0);
  EXPECT_EQ(s.manager.frameCounter, 1);
  EXPECT_FALSE(s.manager.advanceTime()); // 3.0 > 2.5
  EXPECT_EQ(s.overlay.frameNumber, 1);

  // One sample is taken at the current time; counts beyond the recorder are bounded.
  s.state.motionSamples = 1;
  s.manager.advanceTime();
  EXPECT_EQ(s.manager.recorder().count(), 1);
  s.state.motionSamples = 500;
  s.manager.advanceTime();
  EXPECT_EQ(s.manager.recorder().count(), RelRecorder::kMaxSubFrames);
}

TEST(DisplayManager, ShowsTheStartStateBeforeAnyStep) {
  // The observer of a parameter file starting at (1, 2, 3), τ = 4, β = 0.6.
  Schedule s;
  RelObserver observer{1, 2, 3, 4, 0.6f, 0, 0, 1};
  s.manager.setObserver(&observer);
  s.manager.time = 4.0f;
  s.manager.timeStep = 0.5f;
  s.manager.showObserverAsItStands();
  EXPECT_EQ(s.manager.frameCounter, 0); // no step taken
  EXPECT_FLOAT_EQ(s.manager.time, 4.0f);
  EXPECT_FLOAT_EQ(s.overlay.speed, 0.6f);
  EXPECT_FLOAT_EQ(s.overlay.time, 4.0f);
  expectVector(s.overlay.event.spatial(), {1, 2, 3});
  EXPECT_EQ(s.manager.recorder().count(), 1); // motion blur has the start to show
  // After a step the overlay shows the time of that step, not the next one.
  s.manager.advanceTime();
  s.manager.showObserverAsItStands();
  EXPECT_FLOAT_EQ(s.overlay.time, 4.0f);
  EXPECT_EQ(s.overlay.frameNumber, 1);
}

} // namespace
} // namespace quillmere
