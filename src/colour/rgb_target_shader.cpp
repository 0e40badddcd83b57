#include "colour/rgb_target_shader.h"

namespace quillmere {

namespace {

constexpr int kMax = SpectralSampling::kMaxSamples;

// RGB of the product of two spectra sampled at the observed wavelengths.
Vector3 productRgb(const SpectralSampling& sampling, const Spectrum& a, const Spectrum& b) {
  float valuesA[kMax], valuesB[kMax];
  const int n = sampling.count();
  a.evaluateAscending(sampling.wavelengths(), n, valuesA);
  b.evaluateAscending(sampling.wavelengths(), n, valuesB);
  for (int k = 0; k < n; ++k) valuesA[k] *= valuesB[k];
  return sampling.toRgb(valuesA);
}

// Σ_c t_c·rgb[c].
Vector3 weighted(const Vector3& target, const Vector3 (&rgb)[3]) {
  return target.x * rgb[0] + target.y * rgb[1] + target.z * rgb[2];
}

} // namespace

RgbTargetShader::RgbTargetShader(const SpectralSampling& sampling, const LightList* lights, float widthNm,
                                 const WavelengthMapping* doppler)
    : sampling_(&sampling), doppler_(doppler) {
  for (int c = 0; c < 3; ++c) {
    Vector3 unit;
    unit[c] = 1.0f;
    unit_[c].setWidth(widthNm);
    unit_[c].setRGB(unit);
  }
  if (!lights) return;

  const SpectralLight* ambient = lights->get(0);
  if (ambient && ambient->spectrum() && ambient->intensity() != 0.0f) {
    ambientLight_ = ambient->spectrum();
    ambientIntensity_ = ambient->intensity();
    if (!doppler_)
      for (int c = 0; c < 3; ++c) ambientRgb_[c] = ambientIntensity_ * productRgb(sampling, *ambientLight_, unit_[c]);
  }

  lights_.reserve(std::size_t(lights->size()));
  for (int j = 0; j < lights->size(); ++j) {
    const SpectralLight* light = lights->get(j);
    if (!light || !light->on() || !light->spectrum() || light->intensity() == 0.0f) continue;
    LightTerm term{light, light->intensity(), {}};
    if (!doppler_)
      for (int c = 0; c < 3; ++c) term.rgb[c] = productRgb(sampling, *light->spectrum(), unit_[c]);
    lights_.push_back(term);
  }
}

Vector3 RgbTargetShader::colourOf(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientTarget,
                                  const Vector3& diffuseTarget) const {
  if (doppler_) return shiftedColour(vertex, dopplerFactor, ambientTarget, diffuseTarget);
  Vector3 rgb = ambientLight_ ? weighted(ambientTarget, ambientRgb_) : Vector3();
  for (const LightTerm& term : lights_) {
    float cosine = dot(vertex.normal, term.light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue; // facing away (or a degenerate normal)
    rgb += (term.intensity * cosine) * weighted(diffuseTarget, term.rgb);
  }
  return rgb;
}

Vector3 RgbTargetShader::shiftedColour(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientTarget,
                                       const Vector3& diffuseTarget) const {
  const int n = sampling_->count();
  const float* observedNm = sampling_->wavelengths();
  float emittedNm[kMax];
  for (int k = 0; k < n; ++k) emittedNm[k] = doppler_->emittedWavelength(observedNm[k], dopplerFactor);

  // The vertex's two reflectances at the emitted wavelengths, from the unit spectra.
  float unit[3][kMax], ambientR[kMax], diffuseR[kMax];
  for (int c = 0; c < 3; ++c) unit_[c].evaluateAscending(emittedNm, n, unit[c]);
  for (int k = 0; k < n; ++k) {
    ambientR[k] = ambientTarget.x * unit[0][k] + ambientTarget.y * unit[1][k] + ambientTarget.z * unit[2][k];
    diffuseR[k] = diffuseTarget.x * unit[0][k] + diffuseTarget.y * unit[1][k] + diffuseTarget.z * unit[2][k];
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
