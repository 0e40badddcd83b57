// How the Doppler factor D of a vertex acts on its colour: the wavelength at
// which a spectrum is evaluated for an observed wavelength, and the
// searchlight (intensity) scaling. D > 1 ahead of the observer, where light
// emitted at λ·D is observed at λ: a blue shift, and brighter by D⁵.
#pragma once

namespace quillmere {

class WavelengthMapping {
public:
  WavelengthMapping() = default;
  WavelengthMapping(float lowerNm, float upperNm) : lowerBoundNm_(lowerNm), upperBoundNm_(upperNm) {}

  // Kind 0: λ·D. Any other kind gives 0 (only kind 0 is ever created).
  float emittedWavelength(float observedNm, float dopplerFactor) const {
    return mappingKind_ == 0 ? observedNm * dopplerFactor : 0.0f;
  }

  // Law 0: x·D⁵. Any other law gives 0 (only law 0 is ever created).
  float searchlightScaling(float x, float dopplerFactor) const {
    if (searchlightLaw_ != 0) return 0.0f;
    float d2 = dopplerFactor * dopplerFactor;
    return x * d2 * d2 * dopplerFactor;
  }

  // The factor by which the renderers multiply a vertex's R, G and B: D⁵.
  float searchlightFactor(float dopplerFactor) const { return searchlightScaling(1.0f, dopplerFactor); }

  int mappingKind() const { return mappingKind_; }
  void setMappingKind(int kind) { mappingKind_ = kind; }
  int searchlightLaw() const { return searchlightLaw_; }
  void setSearchlightLaw(int law) { searchlightLaw_ = law; }
  float lowerBound() const { return lowerBoundNm_; }
  float upperBound() const { return upperBoundNm_; }

private:
  int mappingKind_ = 0;           // 0: emitted λ = observed λ·D
  int searchlightLaw_ = 0;        // 0: intensity × D⁵
  float lowerBoundNm_ = 380.0f;   // visible range, nm (carried for the render state, not read here)
  float upperBoundNm_ = 780.0f;
};

// D⁵, the searchlight factor of the standard mapping, for callers without a
// mapping at hand.
inline float searchlightFactor(float dopplerFactor) { return WavelengthMapping().searchlightFactor(dopplerFactor); }

} // namespace quillmere
