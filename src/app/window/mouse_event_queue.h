// Mouse events held for the menu bar, so that a press and a release that
// arrive between two frames reach Dear ImGui in different frames: ImGui
// (1.86) samples the button state once per frame and would see neither.
#pragma once

#include <deque>

namespace quillmere {

struct MouseEvent {
  bool isButton = false;  // a press or release; otherwise a motion
  int button = 0, state = 0; // GLUT's button and GLUT_DOWN / GLUT_UP (buttons only)
  int x = 0, y = 0;          // window coordinates
};

class MouseEventQueue {
public:
  void push(const MouseEvent& event) { events_.push_back(event); }
  bool empty() const { return events_.empty(); }

  // Hands the events of one frame to `sink` in order: all of them, up to but
  // not including a second press or release; the rest wait for the next frame.
  template <typename Sink>
  void deliverFrame(Sink&& sink) {
    bool buttonChanged = false;
    while (!events_.empty()) {
      const MouseEvent& event = events_.front();
      if (event.isButton && buttonChanged) break;
      buttonChanged = buttonChanged || event.isButton;
      sink(event);
      events_.pop_front();
    }
  }

private:
  std::deque<MouseEvent> events_;
};

} // namespace quillmere
