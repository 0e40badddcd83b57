#include "display/rel_material_conversion.h"

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

std::unique_ptr<DvSpectralMaterial> constantMaterial(const QvRELmaterialConstant& node) {
  auto material = std::make_unique<DvSpectralMaterial>();
  const Spectrum* grey = material->own(std::make_unique<ConstantSpectrum>(kMaterialSpectrumValue));
  RelMaterial& record = material->record;
  record.ambientSpectrum = record.diffuseSpectrum = record.specularSpectrum = grey;
  record.ambientFactor = node.ambient.value;
  record.diffuseFactor = node.diffuse.value;
  record.specularFactor = node.specular.value;
  return material;
}

std::unique_ptr<DvSpectralMaterial> planckMaterial(const QvRELmaterialPlanck& node) {
  auto material = std::make_unique<DvSpectralMaterial>();
  auto planck = std::make_unique<PlanckSpectrum>();
  planck->setStrength(kMaterialSpectrumValue); // before the temperature, which normalises to it
  planck->setTemperature(node.temperature.value);
  RelMaterial& record = material->record;
  const Spectrum* zero = material->own(std::make_unique<ConstantSpectrum>(0.0f));
  record.ambientSpectrum = record.specularSpectrum = zero;
  record.diffuseSpectrum = material->own(std::move(planck));
  record.diffuseFactor = node.strength.value;
  return material;
}

std::unique_ptr<Spectrum> sampledSpectrum(const QvMFFloat& samples) {
  if (samples.num <= 1) return std::make_unique<ConstantSpectrum>(samples.num == 1 ? samples.values[0] : 0.0f);
  std::vector<float> wavelengths(std::size_t(samples.num));
  float step = (kSampledToNm - kSampledFromNm) / float(samples.num - 1);
  for (int k = 0; k < samples.num; ++k) wavelengths[std::size_t(k)] = kSampledFromNm + float(k) * step;
  auto spectrum = std::make_unique<SampledSpectrum>();
  spectrum->assign(samples.num, wavelengths.data(), samples.values);
  return spectrum;
}

std::unique_ptr<DvSpectralMaterial> sampledMaterial(const QvRELmaterialSampled& node) {
  auto material = std::make_unique<DvSpectralMaterial>();
  RelMaterial& record = material->record;
  record.ambientSpectrum = material->own(sampledSpectrum(node.ambient));
  record.diffuseSpectrum = material->own(sampledSpectrum(node.diffuse));
  record.specularSpectrum = material->own(sampledSpectrum(node.specular));
  record.ambientFactor = record.diffuseFactor = record.specularFactor = 1.0f;
  return material;
}

Vector3 colourOf(const QvSFColor& colour) { return Vector3(colour.value[0], colour.value[1], colour.value[2]); }

} // namespace

std::unique_ptr<DvSpectralMaterial> transfRelMaterial(const QvElement& element) {
  switch (element.type) {
  case QvElement::RELmaterialConstant:
    if (auto* node = element.nodeAs<QvRELmaterialConstant>()) return constantMaterial(*node);
    break;
  case QvElement::RELmaterialPlanck:
    if (auto* node = element.nodeAs<QvRELmaterialPlanck>()) return planckMaterial(*node);
    break;
  case QvElement::RELmaterialSampled:
    if (auto* node = element.nodeAs<QvRELmaterialSampled>()) return sampledMaterial(*node);
    break;
  case QvElement::RELmaterialRGB:
    if (auto* node = element.nodeAs<QvRELmaterialRGB>())
      return makeRgbSpectralMaterial(colourOf(node->ambientColor), colourOf(node->diffuseColor),
                                     colourOf(node->specularColor), kRgbWidthNm);
    break;
  default:
    break;
  }
  printWarning("transfRelMaterial(): Unkown spectral material node type\n");
  return nullptr;
}

} // namespace quillmere
