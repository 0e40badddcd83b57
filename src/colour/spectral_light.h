// Directional lights with a spectrum, for the spectral shading, and the
// fixed-size list that holds them. Directions are unit vectors towards the
// light, in the coordinates the vertices are shaded in (the renderers pass
// the observer's rest frame).
#pragma once

#include "colour/spectrum.h"
#include "relativity/vector.h"

#include <vector>

namespace quillmere {

class SpectralLight {
public:
  // Direction towards the light as seen from a vertex at `position`; a
  // directional light ignores the vertex and returns its stored direction.
  const Vector3& directionFor(const Vector3&) const { return direction_; }

  // Normalises (x, y, z); the zero vector is stored as it is and lights nothing.
  void setDirection(float x, float y, float z);
  // Copies the vector as it is, without normalising.
  void setDirection(const Vector3& direction) { direction_ = direction; }
  const Vector3& direction() const { return direction_; }

  int on() const { return on_; }
  void setOn(int on) { on_ = on; }
  float intensity() const { return intensity_; }
  void setIntensity(float intensity) { intensity_ = intensity; }
  // Not owned; a light without a spectrum gives no light.
  const Spectrum* spectrum() const { return spectrum_; }
  void setSpectrum(const Spectrum* spectrum) { spectrum_ = spectrum; }

private:
  int on_ = 0;                         // flag; the creator switches the light on
  float intensity_ = 0.0f;             // I, scales the spectrum
  const Spectrum* spectrum_ = nullptr; // L, not owned
  Vector3 direction_{1.0f, 0.0f, 0.0f};
};

// A fixed number of light slots, all empty when created. Indices outside the
// list are ignored when setting and give none when getting.
class LightList {
public:
  explicit LightList(int size);

  int size() const { return int(lights_.size()); }
  SpectralLight* get(int index) const;
  void set(int index, SpectralLight* light);

private:
  std::vector<SpectralLight*> lights_; // not owned; sized once at creation
};

} // namespace quillmere
