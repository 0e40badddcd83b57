#include "scene/rel_material_conversion.h"

#include "colour/planck_spectrum.h"
#include "colour/sampled_spectrum.h"
#include "diagnostics/diagnostics.h"
#include "vrml/relativistic_nodes.h"
#include "vrml/state.h"

#include <vector>

namespace quillmere {

namespace {

constexpr float kMaterialSpectrumValue = 0.01f; // reflectance of the constant and black-body spectra
constexpr float kRgbWidthNm = 20.0f;
constexpr float kSampledFromNm = 380.0f;
constexpr float kSampledToNm = 780.0f;

std::unique_ptr<Spectrum> sampledSpectrum(int count, const float* samples) {
  if (count <= 1) return std::make_unique<ConstantSpectrum>(count == 1 ? samples[0] : 0.0f);
  std::vector<float> wavelengths(static_cast<std::size_t>(count));
  float step = (kSampledToNm - kSampledFromNm) / float(count - 1);
  for (int k = 0; k < count; ++k) wavelengths[std::size_t(k)] = kSampledFromNm + float(k) * step;
  auto spectrum = std::make_unique<SampledSpectrum>();
  spectrum->assign(count, wavelengths.data(), samples);
  return spectrum;
}

std::unique_ptr<DvSpectralMaterial> sampledMaterial(int counts[3], const float* samples[3]) {
  auto material = std::make_unique<DvSpectralMaterial>();
  RelMaterial& record = material->record;
  record.ambientSpectrum = material->own(sampledSpectrum(counts[0], samples[0]));
  record.diffuseSpectrum = material->own(sampledSpectrum(counts[1], samples[1]));
  record.specularSpectrum = material->own(sampledSpectrum(counts[2], samples[2]));
  record.ambientFactor = record.diffuseFactor = record.specularFactor = 1.0f;
  return material;
}

Vector3 colourOf(const QvSFColor& colour) { return Vector3(colour.value[0], colour.value[1], colour.value[2]); }

} // namespace

std::unique_ptr<DvSpectralMaterial> transfRelMaterial(const QvElement& element) {
  switch (element.type) {
  case QvElement::RELmaterialConstant:
    if (auto* node = element.nodeAs<QvRELmaterialConstant>())
      return constantSpectralMaterial(node->ambient.value, node->diffuse.value, node->specular.value);
    break;
  case QvElement::RELmaterialPlanck:
    if (auto* node = element.nodeAs<QvRELmaterialPlanck>())
      return planckSpectralMaterial(node->temperature.value, node->strength.value);
    break;
  case QvElement::RELmaterialSampled:
    if (auto* node = element.nodeAs<QvRELmaterialSampled>()) {
      int counts[3] = {node->ambient.num, node->diffuse.num, node->specular.num};
      const float* samples[3] = {node->ambient.values, node->diffuse.values, node->specular.values};
      return sampledMaterial(counts, samples);
    }
    break;
  case QvElement::RELmaterialRGB:
    if (auto* node = element.nodeAs<QvRELmaterialRGB>())
      return rgbSpectralMaterial(colourOf(node->ambientColor), colourOf(node->diffuseColor),
                                 colourOf(node->specularColor));
    break;
  default:
    break;
  }
  printWarning("transfRelMaterial(): Unkown spectral material node type\n");
  return nullptr;
}

std::unique_ptr<DvSpectralMaterial> constantSpectralMaterial(float ambient, float diffuse, float specular) {
  auto material = std::make_unique<DvSpectralMaterial>();
  const Spectrum* grey = material->own(std::make_unique<ConstantSpectrum>(kMaterialSpectrumValue));
  RelMaterial& record = material->record;
  record.ambientSpectrum = record.diffuseSpectrum = record.specularSpectrum = grey;
  record.ambientFactor = ambient;
  record.diffuseFactor = diffuse;
  record.specularFactor = specular;
  return material;
}

std::unique_ptr<DvSpectralMaterial> planckSpectralMaterial(float temperatureK, float strength) {
  auto material = std::make_unique<DvSpectralMaterial>();
  auto planck = std::make_unique<PlanckSpectrum>();
  planck->setStrength(kMaterialSpectrumValue); // before the temperature, which normalises to it
  planck->setTemperature(temperatureK);
  RelMaterial& record = material->record;
  const Spectrum* zero = material->own(std::make_unique<ConstantSpectrum>(0.0f));
  record.ambientSpectrum = record.specularSpectrum = zero;
  record.diffuseSpectrum = material->own(std::move(planck));
  record.diffuseFactor = strength;
  return material;
}

std::unique_ptr<DvSpectralMaterial> sampledSpectralMaterial(const std::vector<float>& ambient,
                                                            const std::vector<float>& diffuse,
                                                            const std::vector<float>& specular) {
  int counts[3] = {int(ambient.size()), int(diffuse.size()), int(specular.size())};
  const float* samples[3] = {ambient.data(), diffuse.data(), specular.data()};
  return sampledMaterial(counts, samples);
}

std::unique_ptr<DvSpectralMaterial> rgbSpectralMaterial(const Vector3& ambient, const Vector3& diffuse,
                                                        const Vector3& specular) {
  return makeRgbSpectralMaterial(ambient, diffuse, specular, kRgbWidthNm);
}

} // namespace quillmere
