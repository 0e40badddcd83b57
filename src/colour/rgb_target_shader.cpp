#include "colour/rgb_target_shader.h"

namespace quillmere {

namespace {

constexpr int kMax = SpectralSampling::kMaxSamples;

// RGB of a light's spectrum times each Gaussian, at the observed wavelengths.
void gaussianProductsRgb(const SpectralSampling& sampling, const Spectrum& light, const RgbSpectrum& gaussians,
                         float scale, Vector3 (&rgb)[3]) {
  float l[kMax], g[3][kMax];
  const int n = sampling.count();
  light.evaluateAscending(sampling.wavelengths(), n, l);
  gaussians.evaluateEachGaussian(sampling.wavelengths(), n, g[0], g[1], g[2]);
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < n; ++k) g[i][k] *= l[k];
    rgb[i] = scale * sampling.toRgb(g[i]);
  }
}

// Σ_i w_i·rgb[i].
Vector3 weighted(const Vector3& w, const Vector3 (&rgb)[3]) { return w.x * rgb[0] + w.y * rgb[1] + w.z * rgb[2]; }

} // namespace

RgbTargetShader::RgbTargetShader(const SpectralSampling& sampling, const LightList* lights, float widthNm,
                                 const WavelengthMapping* doppler)
    : sampling_(&sampling), doppler_(doppler) {
  gaussians_.setWidth(widthNm);
  if (!lights) return;

  const SpectralLight* ambient = lights->get(0);
  if (ambient && ambient->spectrum() && ambient->intensity() != 0.0f) {
    ambientLight_ = ambient->spectrum();
    ambientIntensity_ = ambient->intensity();
    if (!doppler_) gaussianProductsRgb(sampling, *ambientLight_, gaussians_, ambientIntensity_, ambientRgb_);
  }

  lights_.reserve(std::size_t(lights->size()));
  for (int j = 0; j < lights->size(); ++j) {
    const SpectralLight* light = lights->get(j);
    if (!light || !light->on() || !light->spectrum() || light->intensity() == 0.0f) continue;
    LightTerm term{light, light->intensity(), {}};
    if (!doppler_) gaussianProductsRgb(sampling, *light->spectrum(), gaussians_, 1.0f, term.rgb);
    lights_.push_back(term);
  }
}

Vector3 RgbTargetShader::colourOf(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientTarget,
                                  const Vector3& diffuseTarget) const {
  if (doppler_) return shiftedColour(vertex, dopplerFactor, ambientTarget, diffuseTarget);
  const Vector3 diffuseWeights = gaussians_.weightsFor(diffuseTarget);
  Vector3 rgb = ambientLight_ ? weighted(gaussians_.weightsFor(ambientTarget), ambientRgb_) : Vector3();
  for (const LightTerm& term : lights_) {
    float cosine = dot(vertex.normal, term.light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue; // facing away (or a degenerate normal)
    rgb += (term.intensity * cosine) * weighted(diffuseWeights, term.rgb);
  }
  return rgb;
}

Vector3 RgbTargetShader::shiftedColour(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientTarget,
                                       const Vector3& diffuseTarget) const {
  const int n = sampling_->count();
  const float* observedNm = sampling_->wavelengths();
  float emittedNm[kMax] = {}; // zeroed past n, so the batch call never reads an unset value
  for (int k = 0; k < n; ++k) emittedNm[k] = doppler_->emittedWavelength(observedNm[k], dopplerFactor);

  // The vertex's two reflectances at the emitted wavelengths, from the Gaussians.
  float g[3][kMax], ambientR[kMax], diffuseR[kMax];
  gaussians_.evaluateEachGaussian(emittedNm, n, g[0], g[1], g[2]);
  const Vector3 a = gaussians_.weightsFor(ambientTarget), d = gaussians_.weightsFor(diffuseTarget);
  for (int k = 0; k < n; ++k) {
    ambientR[k] = a.x * g[0][k] + a.y * g[1][k] + a.z * g[2][k];
    diffuseR[k] = d.x * g[0][k] + d.y * g[1][k] + d.z * g[2][k];
  }

  float observed[kMax] = {};
  float light[kMax];
  const Spectrum* held = nullptr; // the spectrum whose values `light` holds
  if (ambientLight_) {
    ambientLight_->evaluateAscending(emittedNm, n, light);
    held = ambientLight_;
    for (int k = 0; k < n; ++k) observed[k] = ambientIntensity_ * light[k] * ambientR[k];
  }
  for (const LightTerm& term : lights_) {
    float cosine = dot(vertex.normal, term.light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue;
    if (held != term.light->spectrum()) {
      term.light->spectrum()->evaluateAscending(emittedNm, n, light);
      held = term.light->spectrum();
    }
    const float scale = term.intensity * cosine;
    for (int k = 0; k < n; ++k) observed[k] += scale * light[k] * diffuseR[k];
  }
  return sampling_->toRgb(observed);
}

} // namespace quillmere
