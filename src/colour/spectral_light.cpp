#include "colour/spectral_light.h"

namespace quillmere {

void SpectralLight::setDirection(float x, float y, float z) {
  Vector3 direction(x, y, z);
  direction.normalize(); // leaves (0, 0, 0) alone instead of dividing by zero
  direction_ = direction;
}

LightList::LightList(int size) : lights_(size > 0 ? size : 0, nullptr) {}

SpectralLight* LightList::get(int index) const {
  return index >= 0 && index < size() ? lights_[index] : nullptr;
}

void LightList::set(int index, SpectralLight* light) {
  if (index >= 0 && index < size()) lights_[index] = light;
}

} // namespace quillmere
