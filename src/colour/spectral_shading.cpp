#include "colour/spectral_shading.h"

namespace quillmere {

namespace {

// Samples shaded together: every spectrum is evaluated over one chunk of
// emitted wavelengths by a single batch call into arrays on the stack. 64
// covers the renderers' 40 samples in one chunk; longer outputs take several.
constexpr int kChunk = 64;

// The values of one spectrum over the current chunk, evaluated when first
// asked for. A spectrum that serves two terms (the same light as ambient and
// directional light, the same reflectance for both) is evaluated once.
class ChunkValues {
public:
  const float* of(const Spectrum& spectrum, const float* emittedNm, int count) {
    if (source_ != &spectrum) {
      spectrum.evaluateAscending(emittedNm, count, values_);
      source_ = &spectrum;
    }
    return values_;
  }
  const Spectrum* source() const { return source_; }
  const float* values() const { return values_; }

private:
  const Spectrum* source_ = nullptr; // whose values are held; none yet
  float values_[kChunk];
};

// The values of `spectrum` from a buffer that holds them already (`held1`,
// `held2`, `held3`), or evaluated into `target`. The held buffers are not
// written, so values taken from them stay valid while `target` is refilled.
const float* heldOrEvaluated(const Spectrum& spectrum, const float* emittedNm, int count, ChunkValues& target,
                             const ChunkValues& held1, const ChunkValues& held2,
                             const ChunkValues* held3 = nullptr) {
  if (held1.source() == &spectrum) return held1.values();
  if (held2.source() == &spectrum) return held2.values();
  if (held3 && held3->source() == &spectrum) return held3->values();
  return target.of(spectrum, emittedNm, count);
}

} // namespace

void shadeVertex(const LightingContext& context, const VertexRay& vertex, SampledSpectrum& output,
                 float dopplerFactor, const WavelengthMapping* doppler) {
  const int sampleCount = output.count();
  const float* observedNm = output.wavelengths();
  float* value = output.values();
  const RelMaterial* material = context.material;

  // The ambient term needs the light's spectrum and the ambient reflectance.
  // A term scaled by 0 (black-body materials have no ambient part) is not
  // evaluated at all.
  const SpectralLight* ambient = context.ambientLight;
  const Spectrum* ambientReflectance = material ? material->ambientSpectrum : nullptr;
  const float ambientScale = ambient && ambient->spectrum() && ambientReflectance
                                 ? ambient->intensity() * material->ambientFactor
                                 : 0.0f;

  const Spectrum* diffuseReflectance = material ? material->diffuseSpectrum : nullptr;
  const LightList* lights = context.lights && diffuseReflectance ? context.lights : nullptr;

  for (int first = 0; first < sampleCount; first += kChunk) {
    const int count = sampleCount - first < kChunk ? sampleCount - first : kChunk;
    float* out = value + first;

    // The wavelengths whose emission arrives at the observed λ_k: shifted by
    // D only with the Doppler switch on. D > 0 keeps them ascending, as the
    // batch evaluation wants them.
    float shiftedNm[kChunk];
    const float* emittedNm = observedNm + first;
    if (doppler) {
      for (int k = 0; k < count; ++k) shiftedNm[k] = doppler->emittedWavelength(emittedNm[k], dopplerFactor);
      emittedNm = shiftedNm;
    }

    // The reflectances keep their buffers for the whole chunk; the light
    // buffer is refilled for each light with a spectrum not held already.
    ChunkValues ambientLightValues, ambientValues, diffuseValues, lightValues;

    // Ambient term, which also clears the output.
    if (ambientScale != 0.0f) {
      const float* l = ambientLightValues.of(*ambient->spectrum(), emittedNm, count);
      const float* r = ambientReflectance == ambient->spectrum()
                           ? l
                           : ambientValues.of(*ambientReflectance, emittedNm, count);
      for (int k = 0; k < count; ++k) out[k] = ambientScale * l[k] * r[k];
    } else {
      for (int k = 0; k < count; ++k) out[k] = 0.0f;
    }

    // Diffuse term of every light that is present, on and facing the vertex,
    // in list order.
    if (!lights) continue;
    for (int j = 0; j < lights->size(); ++j) {
      const SpectralLight* light = lights->get(j);
      if (!light || !light->on() || !light->spectrum()) continue;
      float cosine = dot(vertex.normal, light->directionFor(vertex.position));
      if (!(cosine > 0.0f)) continue; // facing away (or a degenerate normal)
      float scale = light->intensity() * material->diffuseFactor * cosine;
      if (scale == 0.0f) continue;
      const float* r = heldOrEvaluated(*diffuseReflectance, emittedNm, count, diffuseValues, ambientLightValues,
                                       ambientValues);
      const float* l = heldOrEvaluated(*light->spectrum(), emittedNm, count, lightValues, ambientLightValues,
                                       ambientValues, &diffuseValues);
      for (int k = 0; k < count; ++k) out[k] += scale * l[k] * r[k];
    }
  }
}

} // namespace quillmere
