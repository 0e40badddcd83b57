#include "colour/spectral_shader.h"

#include "colour/spectrum_to_rgb.h"
#include "colour/vector_clones.h"

namespace quillmere {

// The weights are the RGB of each unit impulse, by the very code that
// converts a whole spectrum: whatever the interpolation between samples and
// the table's rows, linearity makes the weighted sum equal to it.
template <typename ToRgb>
void SpectralSampling::weighImpulses(int count, float firstNm, float endNm, ToRgb toRgb) {
  count_ = count < 1 ? 1 : count > kMaxSamples ? kMaxSamples : count;
  SampledSpectrum impulse;
  impulse.resample(count_, firstNm, endNm);
  for (int k = 0; k < count_; ++k) {
    wavelengthsNm_[k] = impulse.wavelength(k);
    impulse.setValue(k, 1.0f);
    const Vector3 rgb = toRgb(impulse);
    impulse.setValue(k, 0.0f);
    red_[k] = rgb.x, green_[k] = rgb.y, blue_[k] = rgb.z;
  }
}

SpectralSampling::SpectralSampling(int count, float firstNm, float endNm) {
  weighImpulses(count, firstNm, endNm, [](const SampledSpectrum& spectrum) { return spectrumToRgb(spectrum); });
}

SpectralSampling::SpectralSampling(int count, float firstNm, float endNm, const ColourMatrix& xyzToRgb) {
  weighImpulses(count, firstNm, endNm, [&xyzToRgb](const SampledSpectrum& spectrum) {
    const Tristimulus rgb = xyzToRgb * spectrumToXyz(spectrum);
    return Vector3(float(rgb[0]), float(rgb[1]), float(rgb[2]));
  });
}

namespace {

// Σ_k v_k·w_k in eight interleaved partial sums (lane k mod 8), added up
// pairwise at the end: a fixed order the compiler can keep in vector registers, the
// same whatever the instruction set.
constexpr int kLanes = 8;

QUILLMERE_VECTOR_CLONES
Vector3 weightedSums(const float* __restrict values, const float* __restrict red, const float* __restrict green,
                     const float* __restrict blue, int count) {
  float r[kLanes] = {}, g[kLanes] = {}, b[kLanes] = {};
  int k = 0;
  for (; k + kLanes <= count; k += kLanes)
    for (int lane = 0; lane < kLanes; ++lane) {
      r[lane] += values[k + lane] * red[k + lane];
      g[lane] += values[k + lane] * green[k + lane];
      b[lane] += values[k + lane] * blue[k + lane];
    }
  for (int lane = 0; k < count; ++k, ++lane) {
    r[lane] += values[k] * red[k];
    g[lane] += values[k] * green[k];
    b[lane] += values[k] * blue[k];
  }
  // The lanes pairwise (0+4, 1+5, …, then 0+2, 1+3, then 0+1): a short
  // chain of additions instead of eight in a row.
  for (int width = kLanes / 2; width > 0; width /= 2)
    for (int lane = 0; lane < width; ++lane) {
      r[lane] += r[lane + width];
      g[lane] += g[lane + width];
      b[lane] += b[lane + width];
    }
  return {r[0], g[0], b[0]};
}

} // namespace

Vector3 SpectralSampling::toRgb(const float* values) const {
  return weightedSums(values, red_, green_, blue_, count_);
}

namespace {

// RGB of the product of two spectra sampled at the observed wavelengths.
Vector3 productRgb(const SpectralSampling& sampling, const Spectrum& a, const Spectrum& b) {
  float valuesA[SpectralSampling::kMaxSamples], valuesB[SpectralSampling::kMaxSamples];
  const int n = sampling.count();
  a.evaluateAscending(sampling.wavelengths(), n, valuesA);
  b.evaluateAscending(sampling.wavelengths(), n, valuesB);
  for (int k = 0; k < n; ++k) valuesA[k] *= valuesB[k];
  return sampling.toRgb(valuesA);
}

} // namespace

SpectralShader::SpectralShader(const SpectralSampling& sampling, const LightingContext& context,
                               const WavelengthMapping* doppler)
    : sampling_(&sampling), doppler_(doppler) {
  const RelMaterial* material = context.material;
  if (!material) return;

  // The same terms, with the same conditions, as shadeVertex.
  const SpectralLight* ambient = context.ambientLight;
  if (ambient && ambient->spectrum() && material->ambientSpectrum) {
    ambientScale_ = ambient->intensity() * material->ambientFactor;
    if (ambientScale_ != 0.0f) {
      ambientLight_ = ambient->spectrum();
      ambientReflectance_ = material->ambientSpectrum;
      if (!doppler_) ambientRgb_ = ambientScale_ * productRgb(sampling, *ambientLight_, *ambientReflectance_);
    }
  }

  diffuseReflectance_ = material->diffuseSpectrum;
  if (!context.lights || !diffuseReflectance_) return;
  lights_.reserve(std::size_t(context.lights->size()));
  for (int j = 0; j < context.lights->size(); ++j) {
    const SpectralLight* light = context.lights->get(j);
    if (!light || !light->on() || !light->spectrum()) continue;
    float scale = light->intensity() * material->diffuseFactor;
    if (scale == 0.0f) continue; // every cosine would give a zero term
    LightTerm term{light, light->spectrum(), scale, Vector3()};
    if (!doppler_) term.rgb = productRgb(sampling, *term.spectrum, *diffuseReflectance_);
    lights_.push_back(term);
  }
}

Vector3 SpectralShader::colourOf(const VertexRay& vertex, float dopplerFactor) const {
  if (doppler_) return shiftedColour(vertex, dopplerFactor);
  Vector3 rgb = ambientRgb_;
  for (const LightTerm& term : lights_) {
    float cosine = dot(vertex.normal, term.light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue; // facing away (or a degenerate normal)
    float scale = term.scale * cosine;
    if (scale == 0.0f) continue;
    rgb += scale * term.rgb;
  }
  return rgb;
}

namespace {

constexpr int kMax = SpectralSampling::kMaxSamples;

// The values of one spectrum at this vertex's emitted wavelengths, evaluated
// on first use by one batch call.
struct HeldValues {
  const Spectrum* source = nullptr;
  float values[kMax];

  const float* of(const Spectrum& spectrum, const float* emittedNm, int count) {
    if (source != &spectrum) {
      spectrum.evaluateAscending(emittedNm, count, values);
      source = &spectrum;
    }
    return values;
  }
};

} // namespace

Vector3 SpectralShader::shiftedColour(const VertexRay& vertex, float dopplerFactor) const {
  const int n = sampling_->count();
  const float* observedNm = sampling_->wavelengths();

  // The wavelengths whose emission arrives at the observed ones; D > 0 keeps
  // them ascending.
  float emittedNm[kMax];
  for (int k = 0; k < n; ++k) emittedNm[k] = doppler_->emittedWavelength(observedNm[k], dopplerFactor);

  // The observed spectrum S_k, built term by term as shadeVertex does; a
  // spectrum shared by several terms is evaluated once.
  float observed[kMax];
  HeldValues ambientLight, ambientReflectance, diffuse, light;
  if (ambientScale_ != 0.0f) {
    const float* l = ambientLight.of(*ambientLight_, emittedNm, n);
    const float* r = ambientReflectance_ == ambientLight_ ? l : ambientReflectance.of(*ambientReflectance_, emittedNm, n);
    for (int k = 0; k < n; ++k) observed[k] = ambientScale_ * l[k] * r[k];
  } else {
    for (int k = 0; k < n; ++k) observed[k] = 0.0f;
  }

  // A held spectrum's values, if one of the buffers has them.
  auto held = [&](const Spectrum* spectrum) -> const float* {
    for (const HeldValues* h : {&ambientLight, &ambientReflectance, &diffuse, &light})
      if (h->source == spectrum) return h->values;
    return nullptr;
  };

  for (const LightTerm& term : lights_) {
    float cosine = dot(vertex.normal, term.light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue;
    float scale = term.scale * cosine;
    if (scale == 0.0f) continue;
    const float* r = held(diffuseReflectance_);
    if (!r) r = diffuse.of(*diffuseReflectance_, emittedNm, n);
    const float* l = held(term.spectrum);
    if (!l) l = light.of(*term.spectrum, emittedNm, n);
    for (int k = 0; k < n; ++k) observed[k] += scale * l[k] * r[k];
  }
  return sampling_->toRgb(observed);
}

} // namespace quillmere
