// The spectral material of a face set, built from the relativistic material
// node on top of the RELmaterial stack.
#pragma once

#include "display/spectral_material.h"

#include <memory>
#include <vector>

namespace quillmere {

class QvElement;

// Constant: one constant spectrum of 0.01 as ambient, diffuse and specular
// with the node's three factors. Planck: the black body (peak value 0.01 at
// the node's temperature) as the diffuse spectrum with the node's strength,
// no ambient or specular part. RGB: three RGB spectra (width 20 nm) aimed at
// the node's colours, factors 1. Sampled: one sampled spectrum per list, its
// values spread evenly over 380..780 nm (a single value: constant), factors 1.
// Null for an element of no relativistic material type (with a warning).
std::unique_ptr<DvSpectralMaterial> transfRelMaterial(const QvElement& element);

// The same materials from plain values, for scene sources that are not
// scene files (model importers); the values are checked by the caller.
std::unique_ptr<DvSpectralMaterial> constantSpectralMaterial(float ambient, float diffuse, float specular);
std::unique_ptr<DvSpectralMaterial> planckSpectralMaterial(float temperatureK, float strength);
std::unique_ptr<DvSpectralMaterial> sampledSpectralMaterial(const std::vector<float>& ambient,
                                                            const std::vector<float>& diffuse,
                                                            const std::vector<float>& specular);
std::unique_ptr<DvSpectralMaterial> rgbSpectralMaterial(const Vector3& ambient, const Vector3& diffuse,
                                                        const Vector3& specular);

} // namespace quillmere
