// The spectral material of a face set, built from the relativistic material
// node on top of the RELmaterial stack.
#pragma once

#include "display/spectral_material.h"

#include <memory>

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

} // namespace quillmere
