#include "display/spectral_material.h"

#include "colour/colour_pipeline.h"
#include "colour/rgb_spectrum.h"
#include "display/material.h"

namespace quillmere {

const Spectrum* DvSpectralMaterial::own(std::unique_ptr<Spectrum> spectrum) {
  spectra.push_back(std::move(spectrum));
  return spectra.back().get();
}

namespace {

std::unique_ptr<Spectrum> rgbSpectrum(const Vector3& target, float widthNm) {
  auto spectrum = std::make_unique<RgbSpectrum>();
  spectrum->setWidth(widthNm);
  spectrum->setRGB(target);
  return spectrum;
}

} // namespace

std::unique_ptr<DvSpectralMaterial> makeRgbSpectralMaterial(const Vector3& ambient, const Vector3& diffuse,
                                                            const Vector3& specular, float widthNm) {
  auto material = std::make_unique<DvSpectralMaterial>();
  RelMaterial& record = material->record;
  record.ambientSpectrum = material->own(rgbSpectrum(ambient, widthNm));
  record.diffuseSpectrum = material->own(rgbSpectrum(diffuse, widthNm));
  record.specularSpectrum = material->own(rgbSpectrum(specular, widthNm));
  record.ambientFactor = record.diffuseFactor = record.specularFactor = 1.0f;
  return material;
}

namespace {

// The pipeline's uplift of the three colours, factors 1, 1, 1.
std::unique_ptr<DvSpectralMaterial> upliftedMaterial(const Vector3& ambient, const Vector3& diffuse,
                                                     const Vector3& specular, const ColourPipeline& pipeline) {
  auto material = std::make_unique<DvSpectralMaterial>();
  RelMaterial& record = material->record;
  record.ambientSpectrum = material->own(pipeline.rgbSpectrum(ambient, kRgbSpectrumWidthNm));
  record.diffuseSpectrum = material->own(pipeline.rgbSpectrum(diffuse, kRgbSpectrumWidthNm));
  record.specularSpectrum = material->own(pipeline.rgbSpectrum(specular, kRgbSpectrumWidthNm));
  record.ambientFactor = record.diffuseFactor = record.specularFactor = 1.0f;
  return material;
}

} // namespace

std::unique_ptr<DvSpectralMaterial> makeRgbSpectralMaterial(const DvMaterial* material,
                                                            const ColourPipeline* pipeline) {
  if (pipeline && (pipeline->cie() || pipeline->uplift() == Uplift::Smooth)) {
    if (material)
      return upliftedMaterial(material->ambientColour(), material->diffuseColour(), material->specularColour(),
                              *pipeline);
    auto grey = upliftedMaterial(Vector3(), Vector3(0.8f, 0.8f, 0.8f), Vector3(), *pipeline);
    grey->record.ambientFactor = grey->record.specularFactor = 0.0f;
    return grey;
  }
  if (material)
    return makeRgbSpectralMaterial(material->ambientColour(), material->diffuseColour(), material->specularColour(),
                                   kRgbSpectrumWidthNm);
  auto grey = std::make_unique<DvSpectralMaterial>();
  const Spectrum* spectrum = grey->own(std::make_unique<RgbSpectrum>());
  grey->record.ambientSpectrum = grey->record.diffuseSpectrum = grey->record.specularSpectrum = spectrum;
  grey->record.ambientFactor = 0.0f;
  grey->record.diffuseFactor = 1.0f;
  grey->record.specularFactor = 0.0f;
  return grey;
}

} // namespace quillmere
