#include "colour/colour_pipeline.h"

#include "colour/planck_spectrum.h"
#include "colour/rgb_spectrum.h"

#include <cstring>

namespace quillmere {

namespace {

constexpr float kDefaultLightK = 5762.0f;

std::array<std::uint32_t, 3> bitsOf(const Vector3& v) {
  std::array<std::uint32_t, 3> bits;
  const float values[3] = {v.x, v.y, v.z};
  std::memcpy(bits.data(), values, sizeof values);
  return bits;
}

} // namespace

ColourPipeline::ColourPipeline() : defaultLight_(std::make_unique<PlanckSpectrum>(1.0f, kDefaultLightK)) { prepare(); }

void ColourPipeline::setReferenceLight(const Spectrum* spectrum, float intensity) {
  light_ = spectrum;
  lightIntensity_ = intensity;
  prepared_ = false;
  prepare();
}

Vector3 ColourPipeline::linearTarget(const Vector3& displayColour) {
  return {decodeSrgb(displayColour.x), decodeSrgb(displayColour.y), decodeSrgb(displayColour.z)};
}

void ColourPipeline::prepare() {
  if (!prepared_) {
    // The light at rest on the observed samples, and its XYZ as the drawing
    // sums it (the same weights), so that white comes out exactly white.
    const Spectrum& light = light_ ? *light_ : *defaultLight_;
    const SpectralSampling xyz(kObservedSampleCount, kObservedFromNm, kObservedToNm, ColourMatrix());
    const int n = xyz.count();
    float values[SpectralSampling::kMaxSamples];
    light.evaluateAscending(xyz.wavelengths(), n, values);
    Tristimulus lightXyz;
    for (int k = 0; k < n; ++k) {
      const double l = double(lightIntensity_) * double(values[k]);
      lightXyz[0] += l * double(xyz.redWeights()[k]);
      lightXyz[1] += l * double(xyz.greenWeights()[k]);
      lightXyz[2] += l * double(xyz.blueWeights()[k]);
    }
    // A reflectance of 1 (stored as 0.01) under the light has Y = 1.
    const double luminance = lightXyz[1] > 0.0 ? lightXyz[1] : 1.0;
    const double scale = 1.0 / (double(kStoredReflectanceScale) * luminance);
    Tristimulus lightWhite; // Y = 1
    for (int i = 0; i < 3; ++i) lightWhite[i] = lightXyz[i] / luminance;
    const ColourMatrix balanced = kXyzToLinearSrgb * bradfordAdaptation(lightWhite, d65White());
    unbalance_ = kXyzToLinearSrgb * balanced.inverse();
    balanced_.emplace(kObservedSampleCount, kObservedFromNm, kObservedToNm, balanced.scaled(scale));
    unbalanced_.emplace(kObservedSampleCount, kObservedFromNm, kObservedToNm, kXyzToLinearSrgb.scaled(scale));

    response_.count = n;
    for (int k = 0; k < n; ++k) {
      const float l = kStoredReflectanceScale * lightIntensity_ * values[k];
      response_.wavelengthsNm[k] = balanced_->wavelengths()[k];
      response_.rgb[k] =
          l * Vector3(balanced_->redWeights()[k], balanced_->greenWeights()[k], balanced_->blueWeights()[k]);
    }
    fits_.clear();
    prepared_ = true;
    ++upliftGeneration_;
  }
  drawing_ = whiteBalance ? &*balanced_ : &*unbalanced_;
  display_.make(toneMap);
  if (model != preparedModel_ || uplift() != preparedUplift_) {
    preparedModel_ = model;
    preparedUplift_ = uplift();
    ++upliftGeneration_;
  }
}

Matrix3 ColourPipeline::balancedToDrawing() const {
  if (whiteBalance) return Matrix3();
  // Row j of the row-vector matrix is column j of unbalance_.
  Vector3 rows[3];
  for (int j = 0; j < 3; ++j)
    rows[j] = Vector3(float(unbalance_.m[0][j]), float(unbalance_.m[1][j]), float(unbalance_.m[2][j]));
  return Matrix3::fromRows(rows[0], rows[1], rows[2]);
}

void ColourPipeline::beginFrame() {
  prepare();
  exposure.beginFrame();
}

Vector3 ColourPipeline::smoothCoefficients(const Vector3& displayColour) const {
  const auto key = bitsOf(displayColour);
  auto found = fits_.find(key);
  if (found != fits_.end()) return found->second;
  Vector3 coefficients;
  fitSigmoidSpectrum(response_, linearTarget(displayColour), coefficients);
  fits_.emplace(key, coefficients);
  return coefficients;
}

Matrix3 ColourPipeline::gaussianResponse(float widthNm) const {
  RgbSpectrum gaussians;
  gaussians.setWidth(widthNm);
  const int n = response_.count;
  float g[3][RestResponse::kMaxSamples];
  gaussians.evaluateEachGaussian(response_.wavelengthsNm, n, g[0], g[1], g[2]);
  Vector3 rows[3];
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < n; ++k) rows[i] += (g[i][k] / kStoredReflectanceScale) * response_.rgb[k];
  return Matrix3::fromRows(rows[0], rows[1], rows[2]);
}

std::unique_ptr<Spectrum> ColourPipeline::rgbSpectrum(const Vector3& displayColour, float widthNm) const {
  if (uplift() == Uplift::Smooth)
    return std::make_unique<SigmoidSpectrum>(smoothCoefficients(displayColour), kStoredReflectanceScale);
  auto spectrum = std::make_unique<RgbSpectrum>();
  spectrum->setWidth(widthNm);
  if (cie()) {
    spectrum->setResponse(gaussianResponse(widthNm));
    spectrum->setRGB(linearTarget(displayColour));
  } else {
    spectrum->setRGB(displayColour);
  }
  return spectrum;
}

} // namespace quillmere
