// What the MaterialBinding and NormalBinding in force hand out, as the face,
// line, point and primitive builders of the conversion take it: the binding
// values in their terms, and the materials a Material with several values
// gives each vertex.
#pragma once

#include "mesh/face_set_mesh.h"
#include "mesh/line_set_materials.h"
#include "mesh/primitive_meshes.h"
#include "mesh/vertex_material.h"

#include <vector>

namespace quillmere {

class QvState;

// The MaterialBinding value in force; DEFAULT without one.
int materialBindingOf(const QvState& state);

// The materials of the Material in force when it has several values to hand
// out; empty for one material per shape.
std::vector<VertexMaterial> paletteInForce(const QvState& state);

// A face set's parts are its faces. DEFAULT, NONE and OVERALL: Overall.
FaceMaterialBinding faceMaterialBinding(int binding);
// NONE: Generated; DEFAULT: PerVertexIndexed.
FaceNormalBinding faceNormalBinding(int binding);
// A line set's parts are its segments and its faces its polylines; false
// for one material per line set.
bool lineMaterialBinding(int binding, LineMaterialBinding& lineBinding);

// Each vertex's material from its number among `palette`.
std::vector<VertexMaterial> vertexMaterialsOf(const std::vector<int>& numbers,
                                              const std::vector<VertexMaterial>& palette);

// Under a binding per part or per face, part i of a primitive takes
// material i, the first where there are fewer (with one warning naming
// `shape`); empty for one material per shape.
std::vector<VertexMaterial> partMaterials(const PrimitiveMesh& mesh, const QvState& state, const char* shape);

// Under any binding but DEFAULT, NONE and OVERALL, point i of a point set
// takes material i, the first where there are fewer (with one warning
// counting the drawn points [first, end) without one); empty for one
// material per point set.
std::vector<VertexMaterial> pointMaterials(const QvState& state, long pointCount, long first, long end);

} // namespace quillmere
