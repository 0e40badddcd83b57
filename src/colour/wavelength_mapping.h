// How the Doppler factor D of a vertex acts on its colour: the wavelength at
// which a spectrum is evaluated for an observed wavelength, and the
// searchlight (intensity) scaling. D > 1 ahead of the observer, where light
// emitted at λ·D is observed at λ: a blue shift, and brighter by D⁵.
#pragma once

namespace quillmere {

class WavelengthMapping {
public:
  // The emitted wavelength λ·D seen at the observed wavelength λ.
  float emittedWavelength(float observedNm, float dopplerFactor) const { return observedNm * dopplerFactor; }

  // The factor by which the renderers multiply a vertex's R, G and B: D⁵.
  float searchlightFactor(float dopplerFactor) const {
    float d2 = dopplerFactor * dopplerFactor;
    return d2 * d2 * dopplerFactor;
  }
};

} // namespace quillmere
