// The colour model of the spectral path: how an observed spectrum becomes
// the RGB sent to OpenGL, and how RGB material colours become spectra.
//
//  - system: the chromaticity-table conversion (spectrumToRgb), then gamut
//    mapping; RGB colours become three Gaussians (RgbSpectrum).
//  - cie: the CIE 1931 colour-matching functions to XYZ, Bradford white
//    balance from the first scene light at rest to D65 (optional), linear
//    sRGB, exposure, tone mapping, gamut mapping, the sRGB transfer.
//    Scale: a reflectance of 1 (stored as 0.01) lit head-on by the first
//    scene light at rest has luminance Y = 1. RGB colours are display values
//    (sRGB-encoded) and become smooth sigmoid spectra (or Gaussians) that
//    reproduce their decoded colour under that light at rest.
//
// Everything that is linear (XYZ, scale, white balance, the sRGB matrix) is
// folded into the per-sample weights of one SpectralSampling, so the per-
// vertex work of the cie model is that of the system model plus the
// per-vertex tail of toDisplay.
#pragma once

#include "colour/display_curve.h"
#include "colour/exposure.h"
#include "colour/gamut_mapping.h"
#include "colour/smooth_spectrum.h"
#include "colour/spectral_shader.h"
#include "colour/tone_mapping.h"
#include "relativity/matrix.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace quillmere {

enum class ColourModel { Cie, System };

enum class Uplift { Smooth, Gaussian };

// The observed samples of the spectral path: 40 from 380 nm every 10 nm.
constexpr int kObservedSampleCount = 40;
constexpr float kObservedFromNm = 380.0f;
constexpr float kObservedToNm = 780.0f;

// The reflectance a stored value of 1 stands for (the constant material's 0.01).
constexpr float kStoredReflectanceScale = 0.01f;

class ColourPipeline {
public:
  ColourModel model = ColourModel::Cie;
  bool whiteBalance = true;           // adapt the first light's white to D65
  ToneMap toneMap = ToneMap::Filmic;
  std::optional<Uplift> upliftChoice; // none: smooth with cie, gaussian with system
  ExposureControl exposure;

  ColourPipeline();

  Uplift uplift() const {
    if (upliftChoice) return *upliftChoice;
    return model == ColourModel::Cie ? Uplift::Smooth : Uplift::Gaussian;
  }
  bool cie() const { return model == ColourModel::Cie; }

  // The first scene light (spectrum not owned, must outlive the pipeline)
  // with its intensity; seen at rest it defines white and the scale. Without
  // one, a 5762 K black body of intensity 1.
  void setReferenceLight(const Spectrum* spectrum, float intensity);

  // Brings the weights up to date with the settings and starts a frame of
  // the exposure control. Called by the display manager before each frame.
  void beginFrame();
  // The weights alone (beginFrame does this too).
  void prepare();

  // cie: the weights to linear sRGB (scaled, white-balanced when asked).
  const SpectralSampling& sampling() const { return *drawing_; }

  // The per-vertex tail of the cie model: linear sRGB (after the searchlight
  // factor) times 2^EV, tone curve, gamut mapping, sRGB encoding. Gamut
  // method 0 clamps each channel to [0, 1] (NaN to 0), as the encoding
  // does, so with it the rest is one table per channel (DisplayCurve).
  Vector3 toDisplay(const Vector3& linear, const GamutMapping& gamut) const {
    const Vector3 exposed = exposure.factor() * linear;
    if (gamut.method() == 0 && display_.curve() == toneMap)
      return {display_(exposed.x), display_(exposed.y), display_(exposed.z)};
    Vector3 c = toneMap_(exposed);
    if (gamut.method() != 0) gamut.clip(c);
    return {encodeSrgb(c.x), encodeSrgb(c.y), encodeSrgb(c.z)};
  }

  // The drawing's linear RGB of a white-balanced linear RGB: the identity
  // with white balance, the balance undone without (for rowVectorProduct).
  Matrix3 balancedToDrawing() const;
  const Spectrum* referenceLight() const { return light_ ? light_ : defaultLight_.get(); }
  float referenceIntensity() const { return lightIntensity_; }

  // Changes whenever spectra made from RGB colours must be made again.
  int upliftGeneration() const { return upliftGeneration_; }

  // The reflectance spectrum of an RGB material colour (display values) for
  // the uplift in force: a SigmoidSpectrum, or an RgbSpectrum of width σ
  // whose weights are solved against this model's conversion.
  std::unique_ptr<Spectrum> rgbSpectrum(const Vector3& displayColour, float widthNm) const;
  // The sigmoid coefficients of a display colour (fitted once per colour).
  Vector3 smoothCoefficients(const Vector3& displayColour) const;
  // cie: row i is the linear sRGB at rest of Gaussian i at unit weight; the
  // response RgbSpectrum::setResponse takes.
  Matrix3 gaussianResponse(float widthNm) const;
  // Display colour to the linear target of the cie uplifts.
  static Vector3 linearTarget(const Vector3& displayColour);

private:
  Vector3 toneMap_(const Vector3& c) const { return quillmere::toneMap(toneMap, c); }

  const Spectrum* light_ = nullptr;          // reference light, not owned; null: the default black body
  std::unique_ptr<Spectrum> defaultLight_;   // 5762 K, intensity 1
  float lightIntensity_ = 1.0f;
  std::optional<SpectralSampling> balanced_; // linear sRGB, white-balanced
  std::optional<SpectralSampling> unbalanced_;
  const SpectralSampling* drawing_ = nullptr;
  RestResponse response_;
  DisplayCurve display_;     // tone curve and sRGB transfer of toneMap, made by prepare
  ColourMatrix unbalance_; // balanced linear sRGB to unbalanced
  bool prepared_ = false;
  ColourModel preparedModel_ = ColourModel::Cie;
  Uplift preparedUplift_ = Uplift::Smooth;
  int upliftGeneration_ = 0;
  mutable std::map<std::array<std::uint32_t, 3>, Vector3> fits_; // display colour bits → coefficients
};

} // namespace quillmere
