#include "app/window/mouse_event_queue.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillmere {
namespace {

// A click as quick as a tap arrives as press and release before the next
// frame; the menu bar samples the buttons once per frame, so the two must
// reach it in different frames, each with the motions that came before it.
TEST(MouseEventQueue, HandsOnePressOrReleasePerFrameInOrder) {
  constexpr int kDown = 0, kUp = 1;
  MouseEventQueue queue;
  queue.push({false, 0, 0, 10, 5});   // motion onto the menu title
  queue.push({true, 0, kDown, 12, 6}); // press
  queue.push({true, 0, kUp, 12, 6});   // release in the same frame
  queue.push({false, 0, 0, 40, 50});  // motion after it

  std::vector<MouseEvent> frame;
  auto collect = [&](const MouseEvent& event) { frame.push_back(event); };
  queue.deliverFrame(collect);
  ASSERT_EQ(frame.size(), 2u);
  EXPECT_FALSE(frame[0].isButton);
  EXPECT_EQ(frame[1].state, kDown);
  EXPECT_EQ(frame[1].x, 12);

  frame.clear();
  queue.deliverFrame(collect);
  ASSERT_EQ(frame.size(), 2u);
  EXPECT_EQ(frame[0].state, kUp);
  EXPECT_EQ(frame[1].x, 40);
  EXPECT_TRUE(queue.empty());

  frame.clear();
  queue.deliverFrame(collect); // nothing left: nothing delivered
  EXPECT_TRUE(frame.empty());
}

} // namespace
} // namespace quillmere
