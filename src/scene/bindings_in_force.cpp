#include "scene/bindings_in_force.h"

#include "diagnostics/diagnostics.h"
#include "scene/material_conversion.h"
#include "vrml/property_nodes.h"
#include "vrml/state.h"

#include <algorithm>

namespace quillmere {

FaceMaterialBinding faceMaterialBinding(int binding) {
  switch (binding) {
  case QvBindingPerPart:
  case QvBindingPerFace: return FaceMaterialBinding::PerFace;
  case QvBindingPerPartIndexed:
  case QvBindingPerFaceIndexed: return FaceMaterialBinding::PerFaceIndexed;
  case QvBindingPerVertex: return FaceMaterialBinding::PerVertex;
  case QvBindingPerVertexIndexed: return FaceMaterialBinding::PerVertexIndexed;
  default: return FaceMaterialBinding::Overall; // DEFAULT, NONE, OVERALL and values out of range
  }
}

int materialBindingOf(const QvState& state) {
  const auto* node = state.topNode<QvMaterialBinding>(QvState::MaterialBindingIndex);
  return node ? node->value.value : QvBindingDefault;
}

std::vector<VertexMaterial> paletteInForce(const QvState& state) {
  const auto* material = state.topNode<ownMaterial>(QvState::MaterialIndex);
  return material ? materialPalette(*material) : std::vector<VertexMaterial>();
}

bool lineMaterialBinding(int binding, LineMaterialBinding& lineBinding) {
  switch (binding) {
  case QvBindingPerPart: lineBinding = LineMaterialBinding::PerSegment; return true;
  case QvBindingPerPartIndexed: lineBinding = LineMaterialBinding::PerSegmentIndexed; return true;
  case QvBindingPerFace: lineBinding = LineMaterialBinding::PerLine; return true;
  case QvBindingPerFaceIndexed: lineBinding = LineMaterialBinding::PerLineIndexed; return true;
  case QvBindingPerVertex: lineBinding = LineMaterialBinding::PerVertex; return true;
  case QvBindingPerVertexIndexed: lineBinding = LineMaterialBinding::PerVertexIndexed; return true;
  default: return false;
  }
}

std::vector<VertexMaterial> vertexMaterialsOf(const std::vector<int>& numbers,
                                              const std::vector<VertexMaterial>& palette) {
  std::vector<VertexMaterial> materials;
  materials.reserve(numbers.size());
  for (int number : numbers) materials.push_back(palette[std::size_t(number)]);
  return materials;
}

FaceNormalBinding faceNormalBinding(int binding) {
  switch (binding) {
  case QvBindingOverall: return FaceNormalBinding::Overall;
  case QvBindingPerPart:
  case QvBindingPerFace: return FaceNormalBinding::PerFace;
  case QvBindingPerPartIndexed:
  case QvBindingPerFaceIndexed: return FaceNormalBinding::PerFaceIndexed;
  case QvBindingPerVertex: return FaceNormalBinding::PerVertex;
  case QvBindingNone: return FaceNormalBinding::Generated;
  default: return FaceNormalBinding::PerVertexIndexed;
  }
}

std::vector<VertexMaterial> partMaterials(const PrimitiveMesh& mesh, const QvState& state, const char* shape) {
  switch (materialBindingOf(state)) {
  case QvBindingPerPart:
  case QvBindingPerPartIndexed:
  case QvBindingPerFace:
  case QvBindingPerFaceIndexed: break;
  default: return {};
  }
  const std::vector<VertexMaterial> palette = paletteInForce(state);
  std::vector<VertexMaterial> materials;
  if (palette.empty()) return materials;
  const int given = int(palette.size());
  for (int part : mesh.parts) materials.push_back(palette[std::size_t(part < given ? part : 0)]);
  if (mesh.partCount > given)
    printWarning("%s: %d of its %d parts have no material among the %d given; they take the first\n", shape,
                 mesh.partCount - given, mesh.partCount, given);
  return materials;
}

std::vector<VertexMaterial> pointMaterials(const QvState& state, long pointCount, long first, long end) {
  std::vector<VertexMaterial> materials;
  switch (materialBindingOf(state)) {
  case QvBindingDefault:
  case QvBindingNone:
  case QvBindingOverall: return materials;
  default: break;
  }
  const std::vector<VertexMaterial> palette = paletteInForce(state);
  if (palette.empty()) return materials;
  const long given = long(palette.size());
  for (long i = 0; i < pointCount; ++i) materials.push_back(palette[i < given ? std::size_t(i) : 0]);
  const long without = end - std::max(first, given);
  if (without > 0)
    printWarning("PointSet: %ld points have no material among the %ld given; they take the first\n", without, given);
  return materials;
}

} // namespace quillmere
