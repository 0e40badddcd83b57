#include "colour/smooth_target_shader.h"

#include "colour/colour_pipeline.h"
#include "colour/smooth_spectrum.h"

namespace quillmere {

SmoothTargetShader::SmoothTargetShader(const SpectralSampling& sampling, const LightList* lights,
                                       const WavelengthMapping* doppler)
    : sampling_(&sampling), doppler_(doppler) {
  if (!lights) return;
  const int n = sampling.count();
  const SpectralLight* ambient = lights->get(0);
  if (ambient && ambient->spectrum() && ambient->intensity() != 0.0f) {
    ambientLight_ = ambient->spectrum();
    ambientIntensity_ = ambient->intensity();
    if (!doppler_) ambientLight_->evaluateAscending(sampling.wavelengths(), n, ambientRest_);
  }
  lights_.reserve(std::size_t(lights->size()));
  for (int j = 0; j < lights->size(); ++j) {
    const SpectralLight* light = lights->get(j);
    if (!light || !light->on() || !light->spectrum() || light->intensity() == 0.0f) continue;
    lights_.push_back(LightTerm{light, light->intensity(), {}, 0.0f});
    if (!doppler_) light->spectrum()->evaluateAscending(sampling.wavelengths(), n, lights_.back().restValues);
  }
}

void SmoothTargetShader::setReference(const Spectrum* spectrum, float intensity, const Matrix3& balancedToDrawing) {
  if (doppler_ || !spectrum || intensity == 0.0f) return;
  balancedToDrawing_ = balancedToDrawing;
  if (ambientLight_ == spectrum) ambientReferenceScale_ = ambientIntensity_ / intensity;
  for (LightTerm& term : lights_)
    if (term.light->spectrum() == spectrum) term.referenceScale = term.intensity / intensity;
}

Vector3 SmoothTargetShader::colourOf(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientCoefficients,
                                     const Vector3& diffuseCoefficients, const Vector3& ambientTarget,
                                     const Vector3& diffuseTarget) const {
  const int n = sampling_->count();
  const float* observedNm = sampling_->wavelengths();
  float shiftedNm[kMax];
  const float* emittedNm = observedNm;
  if (doppler_) {
    for (int k = 0; k < n; ++k) shiftedNm[k] = doppler_->emittedWavelength(observedNm[k], dopplerFactor);
    emittedNm = shiftedNm;
  }

  float observed[kMax], reflectance[kMax], light[kMax];
  for (int k = 0; k < n; ++k) observed[k] = 0.0f;
  Vector3 balanced; // the reference lights' part, in the targets' RGB
  bool anyObserved = false;
  if (ambientReferenceScale_ != 0.0f) {
    balanced = ambientReferenceScale_ * ambientTarget;
  } else if (ambientLight_) {
    anyObserved = true;
    SigmoidSpectrum::reflectance(ambientCoefficients, emittedNm, n, reflectance);
    const float* l = ambientRest_;
    if (doppler_) {
      ambientLight_->evaluateAscending(emittedNm, n, light);
      l = light;
    }
    const float scale = kStoredReflectanceScale * ambientIntensity_;
    for (int k = 0; k < n; ++k) observed[k] = scale * l[k] * reflectance[k];
  }

  bool diffuseHeld = false;
  const Spectrum* held = doppler_ ? ambientLight_ : nullptr; // whose values `light` holds
  for (const LightTerm& term : lights_) {
    float cosine = dot(vertex.normal, term.light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue; // facing away (or a degenerate normal)
    if (term.referenceScale != 0.0f) {
      balanced += (term.referenceScale * cosine) * diffuseTarget;
      continue;
    }
    anyObserved = true;
    if (!diffuseHeld) {
      SigmoidSpectrum::reflectance(diffuseCoefficients, emittedNm, n, reflectance);
      diffuseHeld = true;
    }
    const float* l = term.restValues;
    if (doppler_) {
      if (held != term.light->spectrum()) {
        term.light->spectrum()->evaluateAscending(emittedNm, n, light);
        held = term.light->spectrum();
      }
      l = light;
    }
    const float scale = kStoredReflectanceScale * term.intensity * cosine;
    for (int k = 0; k < n; ++k) observed[k] += scale * l[k] * reflectance[k];
  }
  Vector3 rgb = balancedToDrawing_.rowVectorProduct(balanced);
  if (anyObserved) rgb += sampling_->toRgb(observed);
  return rgb;
}

} // namespace quillmere
