#include "app/viewer/flight_controller.h"

#include "relativity/observer.h"
#include "render/display_manager.h"
#include "gl/render_state.h"

#include <GL/gl.h>

#include <cmath>

namespace quillmere {

namespace {

constexpr float kElevationLimit = 89.99f;
// A left drag of 100 pixels moves the look-around camera by the scene's radius.
constexpr float kDistancePerPixel = 0.01f;
constexpr float kHeadTurn = 0.02f;   // radians per key press
constexpr float kControlStep = 0.05f; // α or ω per arrow key press

} // namespace

FlightController::FlightController(DvDisplayManager& manager) : manager_(manager) {}

RelObserver* FlightController::observer() const { return manager_.observer(); }
DvRenderState& FlightController::renderState() const { return manager_.renderState(); }

void FlightController::setStartValues(const Vector3& position, const Vector3& direction, float startTime,
                                  float startSpeed) {
  startPosition_ = position;
  startDirection_ = direction;
  startTime_ = startTime;
  startSpeed_ = startSpeed;
}

void FlightController::display() { manager_.display(); }

void FlightController::applyLookAroundCamera() {
  glTranslatef(0, 0, -distance_);
  glRotatef(-elevation_, 1, 0, 0);
  glRotatef(-azimuth_, 0, 1, 0);
}

void FlightController::applyEyeTransform(float angleDegrees, float offset) {
  glRotatef(-angleDegrees, 0, 1, 0);
  glTranslatef(-offset, 0, 0);
}

void FlightController::reset() {
  if (RelObserver* o = observer())
    o->init(startPosition_.x, startPosition_.y, startPosition_.z, startTime_, startSpeed_, startDirection_.x,
            startDirection_.y, startDirection_.z);
  manager_.time = startTime_;
  resetView();
}

void FlightController::resetView() {
  heldButton_ = kNoButton;
  distance_ = 0;
  azimuthRate_ = elevationRate_ = 0;
  azimuth_ = elevation_ = 0;
  dragging_ = 0;
}

void FlightController::setRenderStyle(RenderStyle style) {
  renderState().renderStyle = style;
}

bool FlightController::clampElevation() {
  if (elevation_ <= -90.0f) {
    elevation_ = -kElevationLimit;
    return true;
  }
  if (elevation_ >= 90.0f) {
    elevation_ = kElevationLimit;
    return true;
  }
  return false;
}

void FlightController::advance() {
  if (!stopped_) {
    if (!manager_.advanceTime()) stopped_ = 1;
    return;
  }
  // Spin the look-around camera; at the elevation limit the spin turns back.
  elevation_ += elevationRate_;
  azimuth_ += azimuthRate_;
  if (clampElevation()) {
    elevationRate_ = -elevationRate_;
    if (std::fabs(elevationRate_) > std::fabs(azimuthRate_))
      azimuthRate_ = azimuthRate_ > 0 ? std::fabs(elevationRate_) : -std::fabs(elevationRate_);
  }
  if (dragging_) {
    azimuthVelocity_ *= 0.9f;
    elevationVelocity_ *= 0.9f;
  }
}

void FlightController::skipStep() {
  if (!stopped_ && !manager_.skipStep()) stopped_ = 1;
}

FlightController::KeyResult FlightController::characterKey(unsigned char key) {
  RelObserver* o = observer();
  switch (key) {
  case 'h': case 'H': if (o) o->yaw(kHeadTurn); break;
  case 'k': case 'K': if (o) o->yaw(-kHeadTurn); break;
  case 'u': case 'U': if (o) o->pitch(kHeadTurn); break;
  case 'm': case 'M': if (o) o->pitch(-kHeadTurn); break;
  case 's': case 'S': stopped_ = !stopped_; break;
  case 'q': case 'Q': return KeyResult::Quit;
  default: break;
  }
  return KeyResult::Handled;
}

void FlightController::specialKey(int code) {
  RelObserver* o = observer();
  if (!o) return;
  // The arrows change the controls directly, without setAcceleration's limits.
  switch (code) {
  case KeyLeft: o->adjustControls(0, -kControlStep); break;
  case KeyRight: o->adjustControls(0, kControlStep); break;
  case KeyUp: o->adjustControls(kControlStep, 0); break;
  case KeyDown: o->adjustControls(-kControlStep, 0); break;
  case KeyPageUp: o->roll(-kHeadTurn); break;
  case KeyPageDown: o->roll(kHeadTurn); break;
  default: break;
  }
}

void FlightController::mousePress(int button, int x, int y, int modifier) {
  if (heldButton_ != kNoButton) return;
  pressX_ = x;
  pressY_ = y;
  modifier_ = modifier;
  heldButton_ = button;
  if (button == kRightButton) {
    azimuthVelocity_ = elevationVelocity_ = 0;
    startElevation_ = lastElevation_ = elevation_;
    startAzimuth_ = lastAzimuth_ = azimuth_;
    azimuthRate_ = elevationRate_ = 0;
    dragging_ = 1;
  } else if (button == kLeftButton && stopped_) {
    startDistance_ = distance_;
  }
}

void FlightController::mouseMove(int x, int y) {
  const float dx = float(x - pressX_), dy = float(y - pressY_);
  if (heldButton_ == kRightButton) {
    elevation_ = startElevation_ + 0.5f * dy;
    clampElevation();
    azimuth_ = startAzimuth_ + 0.5f * dx;
    azimuthVelocity_ = 0.2f * (lastAzimuth_ - azimuth_) + 0.8f * azimuthVelocity_;
    elevationVelocity_ = 0.2f * (lastElevation_ - elevation_) + 0.8f * elevationVelocity_;
    lastElevation_ = elevation_;
    lastAzimuth_ = azimuth_;
    return;
  }
  if (stopped_) {
    if (heldButton_ == kLeftButton) distance_ = startDistance_ + kDistancePerPixel * sceneRadius_ * dy;
    return;
  }
  RelObserver* o = observer();
  if (!o) return;
  if (heldButton_ == kLeftButton && modifier_ != kShift)
    o->setAcceleration(0, 0.02f * dx);
  else if (heldButton_ == kLeftButton || heldButton_ == kMiddleButton)
    o->setAcceleration(-0.02f * dy, 0);
}

void FlightController::mouseRelease(int button) {
  if (button != heldButton_ || heldButton_ == kNoButton) return;
  heldButton_ = kNoButton;
  modifier_ = 0;
  if (button == kRightButton) {
    azimuthRate_ = -azimuthVelocity_;
    elevationRate_ = -elevationVelocity_;
    if (azimuthRate_ > -0.1f && azimuthRate_ < 0.1f) azimuthRate_ = 0;
    if (elevationRate_ > -0.1f && elevationRate_ < 0.1f) elevationRate_ = 0;
    dragging_ = 0;
  }
  if (!stopped_) {
    azimuthRate_ = elevationRate_ = 0;
    azimuthVelocity_ = elevationVelocity_ = 0;
    if (RelObserver* o = observer()) o->setAcceleration(0, 0);
  }
}

} // namespace quillmere
