// The flight controller: the running/stopped state, the look-around camera
// behind the observer, and the flight controls that keys and mouse drags
// change. It is plain logic over the display manager; the window turns its
// events into these calls and owns the frame: after display it reads the
// picture back, draws its menu bar and swaps. Angles of the camera are in
// degrees; the observer's head turns take radians.
#pragma once

#include "relativity/vector.h"
#include "gl/render_settings.h"
#include "render/viewer.h"

namespace quillmere {

class DvDisplayManager;
class DvRenderState;
class RelObserver;

class FlightController : public Viewer {
public:
  // Mouse button codes and the Shift modifier.
  static constexpr int kRightButton = 1, kLeftButton = 2, kMiddleButton = 4, kNoButton = -1;
  static constexpr int kShift = 8;
  // Special key codes (GLUT's): arrows and page keys.
  enum SpecialKey { KeyLeft = 100, KeyUp = 101, KeyRight = 102, KeyDown = 103, KeyPageUp = 104, KeyPageDown = 105 };
  enum class KeyResult { Handled, Quit };

  explicit FlightController(DvDisplayManager& manager);

  // The start values the reset command restores.
  void setStartValues(const Vector3& position, const Vector3& direction, float startTime, float startSpeed);

  // The display manager's frame, drawn into the current framebuffer.
  void display();
  void applyLookAroundCamera() override;
  void applyEyeTransform(float angleDegrees, float offset) override;
  float cameraDistance() const override { return distance_ < 0 ? -distance_ : distance_; }
  // The radius of the scene's bounding sphere: a left drag while stopped
  // moves the camera by a fraction of it per pixel.
  void setSceneRadius(float radius) { sceneRadius_ = radius > 0 ? radius : 1.0f; }

  void setStopped(int stopped) { stopped_ = stopped; }
  int stopped() const { return stopped_; }
  // Observer back to its start values, time to the start time, camera to default.
  void reset();
  void resetView();
  void setRenderStyle(RenderStyle style);

  // One timer tick without drawing: running, the display manager advances
  // (and the controller stops itself past the end time); stopped, the camera spins.
  void advance();
  // A running step along the world line without drawing (the display
  // manager's skipStep); past the end time the controller stops itself.
  void skipStep();

  KeyResult characterKey(unsigned char key);
  void specialKey(int code);
  void mousePress(int button, int x, int y, int modifier);
  void mouseRelease(int button);
  void mouseMove(int x, int y);

  float distance() const { return distance_; }
  float azimuth() const { return azimuth_; }
  float elevation() const { return elevation_; }
  float azimuthRate() const { return azimuthRate_; }
  float elevationRate() const { return elevationRate_; }
  int heldButton() const { return heldButton_; }
  DvDisplayManager& displayManager() { return manager_; }

private:
  // Keeps the elevation within ±89.99; true when it had to.
  bool clampElevation();
  RelObserver* observer() const;
  DvRenderState& renderState() const;

  DvDisplayManager& manager_;
  Vector3 startPosition_, startDirection_{0, 0, 1};
  float startTime_ = 0, startSpeed_ = 0;
  float distance_ = 0;                             // camera distance behind the observer
  float sceneRadius_ = 1;                          // scene units; sets the step of the camera distance
  float azimuthRate_ = 0, elevationRate_ = 0;      // degrees per tick while stopped
  float azimuth_ = 0, elevation_ = 0;              // degrees
  int pressX_ = 0, pressY_ = 0;                    // window coordinates of the last press
  int heldButton_ = kNoButton;
  int modifier_ = 0;
  float startDistance_ = 0, startElevation_ = 0, startAzimuth_ = 0;
  float azimuthVelocity_ = 0, elevationVelocity_ = 0; // smoothed change per mouse event
  float lastAzimuth_ = 0, lastElevation_ = 0;
  int dragging_ = 0;                               // a right-button drag is in progress
  int stopped_ = 1;
};

} // namespace quillmere
