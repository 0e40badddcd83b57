// Spectra of relativistic materials and lights: relative (dimensionless)
// intensity as a function of wavelength in nanometres. Spectra are read only
// through `evaluate`, which must not allocate: the spectral shading calls it
// several times per sample for every vertex of every frame.
#pragma once

namespace quillmere {

class Spectrum {
public:
  virtual ~Spectrum() = default;

  // Relative intensity at the wavelength `wavelengthNm`.
  virtual float evaluate(float wavelengthNm) const = 0;

  // values[i] = evaluate(wavelengthsNm[i]) for n wavelengths in
  // non-decreasing order: the same numbers, but a kind may find them faster
  // by walking along (the conversion to RGB and the spectral shading read a
  // spectrum this way). Kinds override it so that a batch costs one virtual
  // call, not one per wavelength.
  virtual void evaluateAscending(const float* wavelengthsNm, int count, float* values) const {
    for (int i = 0; i < count; ++i) values[i] = evaluate(wavelengthsNm[i]);
  }

protected:
  Spectrum() = default;
  Spectrum(const Spectrum&) = default;
  Spectrum& operator=(const Spectrum&) = default;
};

// The same value at every wavelength (a grey body, or the zero spectrum).
class ConstantSpectrum : public Spectrum {
public:
  ConstantSpectrum() = default;
  explicit ConstantSpectrum(float value) : value_(value) {}

  float evaluate(float) const override { return value_; }
  void evaluateAscending(const float*, int count, float* values) const override {
    for (int i = 0; i < count; ++i) values[i] = value_;
  }

  float value() const { return value_; }
  void setValue(float value) { value_ = value; }

private:
  float value_ = 0; // relative intensity at every wavelength
};

} // namespace quillmere
