#include "colour/spectral_shading.h"

namespace quillmere {

void shadeVertex(const LightingContext& context, const VertexRay& vertex, SampledSpectrum& output,
                 float dopplerFactor, const WavelengthMapping* doppler) {
  const int sampleCount = output.count();
  const float* observedNm = output.wavelengths();
  float* value = output.values();
  const RelMaterial* material = context.material;

  // The wavelength whose emission arrives at λ_k: shifted by D only with the
  // Doppler switch on.
  auto emitted = [&](int k) {
    return doppler ? doppler->emittedWavelength(observedNm[k], dopplerFactor) : observedNm[k];
  };

  // Ambient term, which also clears the output. A term scaled by 0 (black-body
  // materials have no ambient part) is not evaluated at all.
  const SpectralLight* ambient = context.ambientLight;
  const Spectrum* ambientReflectance = material ? material->ambientSpectrum : nullptr;
  float ambientScale = ambient && ambient->spectrum() && ambientReflectance
                           ? ambient->intensity() * material->ambientFactor
                           : 0.0f;
  if (ambientScale != 0.0f) {
    const Spectrum& light = *ambient->spectrum();
    for (int k = 0; k < sampleCount; ++k) {
      float lambda = emitted(k);
      value[k] = ambientScale * light.evaluate(lambda) * ambientReflectance->evaluate(lambda);
    }
  } else {
    for (int k = 0; k < sampleCount; ++k) value[k] = 0.0f;
  }

  // Diffuse term of every light that is present, on and facing the vertex.
  const Spectrum* diffuseReflectance = material ? material->diffuseSpectrum : nullptr;
  if (!context.lights || !diffuseReflectance) return;
  const LightList& lights = *context.lights;
  for (int j = 0; j < lights.size(); ++j) {
    const SpectralLight* light = lights.get(j);
    if (!light || !light->on() || !light->spectrum()) continue;
    float cosine = dot(vertex.normal, light->directionFor(vertex.position));
    if (!(cosine > 0.0f)) continue; // facing away (or a degenerate normal)
    float scale = light->intensity() * material->diffuseFactor * cosine;
    if (scale == 0.0f) continue;
    const Spectrum& emission = *light->spectrum();
    for (int k = 0; k < sampleCount; ++k) {
      float lambda = emitted(k);
      value[k] += scale * emission.evaluate(lambda) * diffuseReflectance->evaluate(lambda);
    }
  }
}

} // namespace quillmere
