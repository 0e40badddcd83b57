#include "vrml/light_camera_nodes.h"

#include "vrml/conversion.h"
#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvDirectionalLight::table_;
QvFieldTable QvPointLight::table_;
QvFieldTable QvSpotLight::table_;
QvFieldTable QvOrthographicCamera::table_;
QvFieldTable QvPerspectiveCamera::table_;

namespace {

constexpr float kQuarterPi = 0.7853982f;

void setUpLight(QvFieldSetup& setup, QvSFBool& on, QvSFFloat& intensity, QvSFColor& color) {
  setup.field("on", on);
  setup.field("intensity", intensity);
  setup.field("color", color);
  on.value = 1;
  intensity.value = 1;
  qvSetVec3(color.value, 1, 1, 1);
}

void setUpCamera(QvFieldSetup& setup, QvSFVec3f& position, QvSFRotation& orientation, QvSFFloat& focalDistance) {
  setup.field("position", position);
  setup.field("orientation", orientation);
  setup.field("focalDistance", focalDistance);
  qvSetVec3(position.value, 0, 0, 1);
  qvSetVec3(orientation.axis, 0, 0, 1);
  orientation.angle = 0;
  focalDistance.value = 5;
}

} // namespace

QvDirectionalLight::QvDirectionalLight() {
  QvFieldSetup setup(this, table_);
  setUpLight(setup, on, intensity, color);
  setup.field("direction", direction);
  qvSetVec3(direction.value, 0, 0, -1);
}

QvPointLight::QvPointLight() {
  QvFieldSetup setup(this, table_);
  setUpLight(setup, on, intensity, color);
  setup.field("location", location);
  qvSetVec3(location.value, 0, 0, 1);
}

QvSpotLight::QvSpotLight() {
  QvFieldSetup setup(this, table_);
  setUpLight(setup, on, intensity, color);
  setup.field("location", location);
  setup.field("direction", direction);
  setup.field("dropOffRate", dropOffRate);
  setup.field("cutOffAngle", cutOffAngle);
  qvSetVec3(location.value, 0, 0, 1);
  qvSetVec3(direction.value, 0, 0, -1);
  dropOffRate.value = 0;
  cutOffAngle.value = kQuarterPi;
}

QvOrthographicCamera::QvOrthographicCamera() {
  QvFieldSetup setup(this, table_);
  setUpCamera(setup, position, orientation, focalDistance);
  setup.field("height", height);
  height.value = 2;
}

QvPerspectiveCamera::QvPerspectiveCamera() {
  QvFieldSetup setup(this, table_);
  setUpCamera(setup, position, orientation, focalDistance);
  setup.field("heightAngle", heightAngle);
  heightAngle.value = kQuarterPi;
}

void QvDirectionalLight::traverse(QvState& state) {
  qvPushElement(state, QvState::LightIndex, QvElement::DirectionalLight, this);
}

void QvPointLight::traverse(QvState& state) {
  qvPushElement(state, QvState::LightIndex, QvElement::PointLight, this);
}

void QvSpotLight::traverse(QvState& state) {
  qvPushElement(state, QvState::LightIndex, QvElement::SpotLight, this);
}

void QvOrthographicCamera::traverse(QvState& state) {
  qvPushElement(state, QvState::CameraIndex, QvElement::OrthographicCamera, this);
  if (QvConversion* conversion = state.getConversion()) conversion->orthographicCamera(*this, state);
}

void QvPerspectiveCamera::traverse(QvState& state) {
  qvPushElement(state, QvState::CameraIndex, QvElement::PerspectiveCamera, this);
  if (QvConversion* conversion = state.getConversion()) conversion->perspectiveCamera(*this, state);
}

} // namespace quillmere
