// A Material node as display materials: the whole shape's OpenGL material,
// and, when its fields hold several values, the list of materials that the
// MaterialBinding hands out per face or per vertex.
#pragma once

#include "display/material.h"
#include "mesh/vertex_material.h"

#include <memory>
#include <vector>

namespace quillmere {

class ownMaterial;

// Each field the file set gives its first value; each field keeps the file's ignore mark.
std::unique_ptr<DvMaterial> materialFromNode(const ownMaterial& node);

// Material i takes value i of every colour field and of transparency that
// has more than i values, and the shape's material (materialFromNode) for
// the rest. As many materials as the longest of those fields; empty when
// none has more than one value (the shape has one material).
std::vector<VertexMaterial> materialPalette(const ownMaterial& node);

} // namespace quillmere
