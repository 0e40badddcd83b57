#include "gl/render_state.h"

#include <GL/gl.h>

namespace quillmere {

DvRenderState::DvRenderState() : spectralLights_(kSpectralLightSlots) { headlight.setDirection(0, 0, 1); }

void DvRenderState::setGLLight(int index, std::unique_ptr<DvGLLight> light) {
  if (index < 0 || index >= kGLLightSlots) return;
  glLights_[index] = std::move(light);
}

const DvGLLight* DvRenderState::getGLLight(int index) const {
  return index >= 0 && index < kGLLightSlots ? glLights_[index].get() : nullptr;
}

void DvRenderState::applyGLLights() const {
  for (int i = 0; i < kGLLightSlots; ++i)
    if (glLights_[i]) glLights_[i]->apply(i);
}

void DvRenderState::applyHeadlight() const {
  if (headlightOn)
    headlight.apply(7);
  else
    glDisable(GL_LIGHT7);
}

void DvRenderState::switchOffHeadlights() {
  headlightOn = 0;
  if (SpectralLight* light = spectralLights_.get(0)) light->setOn(0);
}

void DvRenderState::setSpectralLight(int index, SpectralLight* light) {
  if (index >= 1) spectralLights_.set(index, light);
}

void DvRenderState::aimSpectralHeadlight(const Matrix4& inverseModelview) {
  SpectralLight* light = spectralLights_.get(0);
  if (!light) return;
  Vector3 p = inverseModelview.transformPoint(Vector3(0, 0, 1));
  light->setDirection(p.x, p.y, p.z);
}

} // namespace quillmere
