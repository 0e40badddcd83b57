#include "scene/scene_conversion.h"

#include "diagnostics/diagnostics.h"
#include "scene/bindings_in_force.h"
#include "scene/display_budget.h"
#include "display/indexed_face_set.h"
#include "display/indexed_line_set.h"
#include "mesh/line_set_materials.h"
#include "display/lod.h"
#include "scene/material_conversion.h"
#include "mesh/primitive_meshes.h"
#include "display/rel_frame.h"
#include "scene/rel_material_conversion.h"
#include "mesh/stroke_font.h"
#include "display/texture_2.h"
#include "scene/transformations.h"
#include "vrml/conversion.h"
#include "vrml/group_nodes.h"
#include "vrml/light_camera_nodes.h"
#include "vrml/property_nodes.h"
#include "vrml/relativistic_nodes.h"
#include "vrml/shape_nodes.h"
#include "vrml/state.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillmere {

namespace {

Vector3 vec3(const float (&value)[3]) { return Vector3(value[0], value[1], value[2]); }

class SceneConversion : public QvConversion {
public:
  SceneConversion(DvGroup& root, const ConversionOptions& options)
      : currentGroup_(&root), sceneFolder_(options.sceneFolder),
        budget_(options.maxDisplayVertices, options.maxEdgeLength, result_.summary.displayVertices) {}

  ConversionResult& result() { return result_; }

  void indexedFaceSet(const OwnIndexedFaceSet& node, const QvState& state) override;
  void indexedLineSet(const OwnIndexedLineSet& node, const QvState& state) override;
  void cube(const QvCube& node, const QvState& state) override;
  void sphere(const QvSphere& node, const QvState& state) override;
  void cone(const QvCone& node, const QvState& state) override;
  void cylinder(const QvCylinder& node, const QvState& state) override;
  void material(const ownMaterial&, const QvState&) override {} // each shape takes the Material stack's top
  void texture2(const ownTexture2& node, const QvState& state) override;
  void relFrame(const ownRELframe& node, const QvState& state) override;
  void pointSet(const QvPointSet& node, const QvState& state) override;
  void asciiText(const QvAsciiText& node, const QvState& state) override;
  void perspectiveCamera(const QvPerspectiveCamera& node, const QvState& state) override;
  void orthographicCamera(const QvOrthographicCamera& node, const QvState& state) override;
  void beginLOD(const QvLOD& node, const QvState& state) override;
  void beginLODChild(const QvLOD& node, int childIndex) override;
  void endLODChild(const QvLOD&, int) override {}
  void endLOD(const QvLOD& node, const QvState& state) override;

private:
  bool building() const { return result_.ok && !budget_.spent(); }
  void fail(const char* message);
  // False (with one warning) when `vertices` more would pass the budget.
  bool admitVertices(long vertices) { return budget_.admit(vertices); }
  void attachMaterial(DvVertexSet& shape, const QvState& state);
  // Builds a face set from `source` under the transforms, texture transform,
  // Material and RELmaterial in force, counts it and appends it.
  void addFaceSet(std::unique_ptr<DvIndexedFaceSet> faceSet, const QvState& state);
  // Line, point and text sets alike: transform, material, counts, append.
  void addLineSet(std::unique_ptr<DvIndexedLineSet> lineSet, const QvState& state);
  // `shape` names it in warnings.
  void addPrimitive(const PrimitiveMesh& mesh, const QvState& state, const char* shape);
  // The first camera of the walk, carried into world coordinates.
  void takeCamera(const QvSFVec3f& position, const QvSFRotation& orientation, float heightAngle, const char* kind,
                  const QvState& state);
  // The texture of the shape's scope, when it has an image; null otherwise.
  DvTexture2* textureInScope(const QvState& state) const;
  // Textures follow the scene file's scopes: a set takes the texture of its
  // scope (a binding node goes before it where another one is bound), or
  // none, and then it is drawn untextured.
  void bindScopeTexture(DvIndexedFaceSet& faceSet, const QvState& state);

  struct OpenLOD {
    DvLOD* lod;           // null when the LOD was not built
    DvGroup* savedGroup;  // where building goes on after the LOD
  };

  DvGroup* currentGroup_;        // new display nodes are appended here
  std::string sceneFolder_;      // relative texture files are looked up here first
  std::vector<OpenLOD> openLODs_; // LODs whose children are being walked, innermost last
  ConversionResult result_;
  DisplayBudget budget_;         // counts into result_.summary.displayVertices
  std::unordered_map<const ownTexture2*, DvTexture2*> textures_; // the display node built last for each Texture2
  DvTexture2* boundTexture_ = nullptr; // bound when the next node is drawn (null: texturing off) ...
  bool boundTextureKnown_ = false;     // ... when known: not at the start of a frame or of an LOD level
  bool warnedLODWithoutRange_ = false;
};

void SceneConversion::fail(const char* message) {
  if (!result_.ok) return;
  result_.ok = false;
  result_.error = message;
}

// Every shape carries a whole material of its own, so nothing of one shape's
// material reaches the next: without a Material in scope, VRML's default.
void SceneConversion::attachMaterial(DvVertexSet& shape, const QvState& state) {
  if (const auto* node = state.topNode<ownMaterial>(QvState::MaterialIndex)) {
    shape.setMaterial(materialFromNode(*node));
    ++result_.summary.materials;
    return;
  }
  auto vrmlDefault = std::make_unique<DvMaterial>();
  vrmlDefault->resetToDefaults();
  shape.setMaterial(std::move(vrmlDefault));
}

// An index list the file gave: not empty and not the lone -1 that stands for none.
bool indexListGiven(const QvMFLong& list) { return list.num > 0 && !(list.num == 1 && list.values[0] < 0); }

// Whether `list` names the same entry as coordIndex at every position.
bool followsCoordIndex(const QvMFLong& list, const QvMFLong& coordIndex) {
  if (!indexListGiven(list)) return true;
  if (list.num < coordIndex.num) return false;
  for (int k = 0; k < coordIndex.num; ++k)
    if (list.values[k] != coordIndex.values[k]) return false;
  return true;
}

// Only a SOLID shape whose faces wind one known way hides the backs of its
// faces (a VRML browser's rule); every other face set shows both sides, lit
// on the side that is seen, whatever normals the file gave.
bool showsBothSides(const QvShapeHints* hints) {
  return !hints || hints->shapeType.value != QvShapeHints::SOLID ||
         hints->vertexOrdering.value == QvShapeHints::UNKNOWN_ORDERING;
}

void SceneConversion::indexedFaceSet(const OwnIndexedFaceSet& node, const QvState& state) {
  if (!building()) return;
  const auto* coordinates = state.topNode<QvCoordinate3>(QvState::Coordinate3Index);
  if (!coordinates) return fail("No Coordinate3 Node fault");
  const auto* normals = state.topNode<QvNormal>(QvState::NormalIndex);
  const auto* texCoords = state.topNode<QvTextureCoordinate2>(QvState::TextureCoordinate2Index);

  int binding = QvBindingDefault;
  if (const auto* bindingNode = state.topNode<QvNormalBinding>(QvState::NormalBindingIndex))
    binding = bindingNode->value.value;
  if (binding < QvBindingDefault || binding > QvBindingPerVertexIndexed) {
    printWarning("unknown normal binding\n");
    binding = QvBindingDefault;
  }

  FaceSetSource source;
  source.points = coordinates->point.values;
  source.pointCount = coordinates->point.num;
  if (normals) {
    source.normals = normals->vector.values;
    source.normalCount = normals->vector.num;
  }
  source.overallNormal = binding == QvBindingOverall;
  if (texCoords) {
    source.texCoords = texCoords->point.values;
    source.texCoordCount = texCoords->point.num;
  }
  source.coordIndex = node.coordIndex.values;
  source.coordIndexCount = node.coordIndex.num;
  const auto* shapeHints = state.topNode<QvShapeHints>(QvState::ShapeHintsIndex);
  source.convexFaces = !shapeHints || shapeHints->faceType.value == QvShapeHints::CONVEX;
  source.materialBinding = faceMaterialBinding(materialBindingOf(state));
  const std::vector<VertexMaterial> palette =
      source.materialBinding == FaceMaterialBinding::Overall ? std::vector<VertexMaterial>() : paletteInForce(state);

  // One normal per point, looked up by the point's own index: every point is
  // one vertex. Anything else builds a vertex per distinct corner.
  const bool perPointNormals =
      normals && (source.overallNormal ? source.normalCount >= 1
                                       : (binding == QvBindingDefault || binding == QvBindingPerVertexIndexed) &&
                                             source.normalCount == source.pointCount &&
                                             followsCoordIndex(node.normalIndex, node.coordIndex));
  std::unique_ptr<DvIndexedFaceSet> faceSet;
  // Clockwise faces are turned round in the general build.
  const bool clockwise = shapeHints && shapeHints->vertexOrdering.value == QvShapeHints::CLOCKWISE;
  if (perPointNormals && !clockwise && palette.empty() &&
      followsCoordIndex(node.textureCoordIndex, node.coordIndex)) {
    if (!admitVertices(source.pointCount)) return;
    faceSet = std::make_unique<DvIndexedFaceSet>(source);
  } else {
    source.normalBinding = normals ? faceNormalBinding(binding) : FaceNormalBinding::Generated;
    if (indexListGiven(node.normalIndex)) {
      source.normalIndex = node.normalIndex.values;
      source.normalIndexCount = node.normalIndex.num;
    }
    if (indexListGiven(node.textureCoordIndex)) {
      source.texCoordIndex = node.textureCoordIndex.values;
      source.texCoordIndexCount = node.textureCoordIndex.num;
    }
    if (indexListGiven(node.materialIndex)) {
      source.materialIndex = node.materialIndex.values;
      source.materialIndexCount = node.materialIndex.num;
    }
    source.materialCount = int(palette.size());
    if (shapeHints) {
      source.clockwise = clockwise;
      source.creaseAngle = shapeHints->creaseAngle.value;
    }
    FaceSetMesh mesh = buildFaceSetMesh(source);
    if (!admitVertices(long(mesh.vertices.size()))) return;
    std::vector<VertexMaterial> materials = vertexMaterialsOf(mesh.vertexMaterials, palette);
    faceSet = std::make_unique<DvIndexedFaceSet>(std::move(mesh));
    faceSet->setVertexMaterials(std::move(materials));
  }
  faceSet->setTwoSided(showsBothSides(shapeHints));
  addFaceSet(std::move(faceSet), state);
}

// What every face set takes from the state in force, whatever built it:
// the modelling and texture matrices, the materials, its place in the list.
void SceneConversion::addFaceSet(std::unique_ptr<DvIndexedFaceSet> faceSet, const QvState& state) {
  bindScopeTexture(*faceSet, state);
  faceSet->setTransformation(modellingMatrix(state));
  if (faceSet->twoSided()) faceSet->windTowardsNormals();
  if (faceSet->hasTextureCoordinates()) faceSet->setTextureTransformation(textureMatrix(state));
  budget_.subdivide(*faceSet);
  faceSet->resetTransformedVertices();
  attachMaterial(*faceSet, state);
  if (const QvElement* element = state.getTopElement(QvState::RELmaterialIndex))
    faceSet->setRelMaterial(transfRelMaterial(*element));
  ++result_.summary.faceSets;
  result_.summary.triangles += faceSet->triangleCount();
  currentGroup_->append(std::move(faceSet));
}

DvTexture2* SceneConversion::textureInScope(const QvState& state) const {
  const auto* node = state.topNode<ownTexture2>(QvState::Texture2Index);
  if (!node) return nullptr;
  auto found = textures_.find(node);
  return found != textures_.end() && found->second->hasImage() ? found->second : nullptr;
}

void SceneConversion::bindScopeTexture(DvIndexedFaceSet& faceSet, const QvState& state) {
  if (!faceSet.hasTextureCoordinates()) return;
  DvTexture2* texture = textureInScope(state);
  if (!texture) {
    faceSet.dropTextureCoordinates();
    return;
  }
  if (boundTextureKnown_ && boundTexture_ == texture) return;
  currentGroup_->append(std::make_unique<DvTextureBinding>(texture));
  boundTexture_ = texture;
  boundTextureKnown_ = true;
}

void SceneConversion::addPrimitive(const PrimitiveMesh& mesh, const QvState& state, const char* shape) {
  if (!building() || mesh.coordIndex.empty()) return; // no parts: nothing to build
  FaceSetSource source = mesh.source();
  // A primitive is textured only where a Texture2 is in its own scope.
  if (!textureInScope(state)) {
    source.texCoords = nullptr;
    source.texCoordCount = 0;
  }
  if (!admitVertices(source.pointCount)) return;
  auto faceSet = std::make_unique<DvIndexedFaceSet>(source);
  faceSet->setVertexMaterials(partMaterials(mesh, state, shape));
  addFaceSet(std::move(faceSet), state);
}

void SceneConversion::cube(const QvCube& node, const QvState& state) {
  if (building()) addPrimitive(cubeMesh(node.width.value, node.height.value, node.depth.value), state, "Cube");
}

void SceneConversion::sphere(const QvSphere& node, const QvState& state) {
  if (building()) addPrimitive(sphereMesh(node.radius.value), state, "Sphere");
}

void SceneConversion::cone(const QvCone& node, const QvState& state) {
  if (!building()) return;
  unsigned parts = unsigned(node.parts.value);
  addPrimitive(coneMesh(node.bottomRadius.value, node.height.value, parts & QvCone::SIDES, parts & QvCone::BOTTOM),
               state, "Cone");
}

void SceneConversion::cylinder(const QvCylinder& node, const QvState& state) {
  if (!building()) return;
  unsigned parts = unsigned(node.parts.value);
  addPrimitive(cylinderMesh(node.radius.value, node.height.value, parts & QvCylinder::SIDES,
                            parts & QvCylinder::TOP, parts & QvCylinder::BOTTOM),
               state, "Cylinder");
}

void SceneConversion::indexedLineSet(const OwnIndexedLineSet& node, const QvState& state) {
  if (!building()) return;
  const auto* coordinates = state.topNode<QvCoordinate3>(QvState::Coordinate3Index);
  if (!coordinates) return fail("No Coordinate3 Node fault");

  LineMaterialBinding binding;
  std::vector<VertexMaterial> palette;
  if (lineMaterialBinding(materialBindingOf(state), binding)) palette = paletteInForce(state);
  std::unique_ptr<DvIndexedLineSet> lineSet;
  if (palette.empty()) {
    if (!admitVertices(coordinates->point.num)) return;
    lineSet = std::make_unique<DvIndexedLineSet>(coordinates->point.values, coordinates->point.num,
                                                 node.coordIndex.values, node.coordIndex.num);
  } else {
    LineSetMaterialSource source;
    source.points = coordinates->point.values;
    source.pointCount = coordinates->point.num;
    source.coordIndex = node.coordIndex.values;
    source.coordIndexCount = node.coordIndex.num;
    source.binding = binding;
    if (indexListGiven(node.materialIndex)) {
      source.materialIndex = node.materialIndex.values;
      source.materialIndexCount = node.materialIndex.num;
    }
    source.palette = &palette;
    LineSetWithMaterials lines = lineSetWithMaterials(source);
    if (lines.verticesWithoutMaterial > 0)
      printWarning("IndexedLineSet: %ld vertices have no material among the %zu given; they take the first\n",
                   lines.verticesWithoutMaterial, palette.size());
    if (!admitVertices(long(lines.points.size()))) return;
    lineSet = std::make_unique<DvIndexedLineSet>(reinterpret_cast<const float(*)[3]>(lines.points.data()),
                                                 int(lines.points.size()), lines.coordIndex.data(),
                                                 long(lines.coordIndex.size()));
    lineSet->setVertexMaterials(std::move(lines.materials));
  }
  addLineSet(std::move(lineSet), state);
}

// What every line or point set takes from the state in force, whatever
// built it: the modelling matrix, the material, its place in the list.
void SceneConversion::addLineSet(std::unique_ptr<DvIndexedLineSet> lineSet, const QvState& state) {
  lineSet->setTransformation(modellingMatrix(state));
  lineSet->resetTransformedVertices();
  attachMaterial(*lineSet, state);
  if (lineSet->drawsPoints()) {
    ++result_.summary.pointSets;
  } else {
    ++result_.summary.lineSets;
    result_.summary.lineVertices += lineSet->lineVertexCount();
  }
  currentGroup_->append(std::move(lineSet));
}

// The points from startIndex on (numPoints of them, −1: all), as a line set
// that draws each index as a point; indices past the list are not made.
void SceneConversion::pointSet(const QvPointSet& node, const QvState& state) {
  if (!building()) return;
  const auto* coordinates = state.topNode<QvCoordinate3>(QvState::Coordinate3Index);
  if (!coordinates) return fail("No Coordinate3 Node fault");
  const long pointCount = coordinates->point.num;
  const long first = std::clamp<long>(node.startIndex.value, 0, pointCount);
  const long available = pointCount - first;
  const long count = node.numPoints.value < 0 ? available : std::min<long>(node.numPoints.value, available);
  std::vector<std::int32_t> indices;
  for (long k = 0; k < count; ++k) indices.push_back(std::int32_t(first + k));
  if (!admitVertices(pointCount)) return;
  auto points = std::make_unique<DvIndexedLineSet>(coordinates->point.values, int(pointCount), indices.data(),
                                                   long(indices.size()));
  points->setDrawsPoints(true);
  points->setVertexMaterials(pointMaterials(state, pointCount, first, first + count));
  addLineSet(std::move(points), state);
}

// The text's strokes as a line set in the text's plane, under the
// transforms and material in force, in the FontStyle in force (the size
// and italics; one family).
void SceneConversion::asciiText(const QvAsciiText& node, const QvState& state) {
  if (!building()) return;
  TextLayout layout;
  if (const auto* font = state.topNode<QvFontStyle>(QvState::FontStyleIndex)) {
    layout.size = std::fabs(font->size.value);
    layout.italic = (unsigned(font->style.value) & QvFontStyle::ITALIC) != 0;
  }
  layout.spacing = node.spacing.value;
  layout.justification = node.justification.value == QvAsciiText::CENTER  ? TextJustification::Centre
                         : node.justification.value == QvAsciiText::RIGHT ? TextJustification::Right
                                                                          : TextJustification::Left;
  if (!node.width.isDefault()) layout.widths.assign(node.width.values, node.width.values + node.width.num);
  std::vector<std::string> lines;
  for (int i = 0; i < node.string.num; ++i) lines.push_back(node.string.values[std::size_t(i)].getString());
  // Laid out only as far as the budget has room for; a text that does not
  // fit is refused as a whole, with the budget's warning.
  const long room = budget_.room();
  const TextStrokes text = layOutText(lines, layout, std::size_t(room));
  if (!text.complete) {
    admitVertices(room + 1);
    return;
  }
  if (text.points.empty() || !admitVertices(long(text.points.size()))) return;

  auto strokes = std::make_unique<DvIndexedLineSet>(reinterpret_cast<const float(*)[3]>(text.points.data()),
                                                    int(text.points.size()), text.coordIndex.data(),
                                                    long(text.coordIndex.size()));
  addLineSet(std::move(strokes), state);
}

void SceneConversion::relFrame(const ownRELframe& node, const QvState&) {
  if (!building()) return;
  currentGroup_->append(std::make_unique<RelFrame>(vec3(node.translation.value), vec3(node.velocity.value)));
  ++result_.summary.frames;
}

void SceneConversion::texture2(const ownTexture2& node, const QvState&) {
  if (!building()) return;
  Texture2Source source;
  if (!node.wrapS.isDefault()) source.wrapS = node.wrapS.value;
  if (!node.wrapT.isDefault()) source.wrapT = node.wrapT.value;
  if (!node.image.isDefault()) {
    source.imageGiven = true;
    source.image = node.image.bytes;
    source.imageWidth = node.image.size[0];
    source.imageHeight = node.image.size[1];
    source.imageComponents = node.image.numComponents;
  }
  if (!node.filename.isDefault()) source.fileName = node.filename.value.getString();
  source.sceneFolder = sceneFolder_;
  auto texture = std::make_unique<DvTexture2>();
  texture->setTextureNode(source);
  textures_[&node] = texture.get();
  boundTexture_ = texture.get();
  boundTextureKnown_ = true;
  currentGroup_->append(std::move(texture));
  ++result_.summary.textures;
}

void SceneConversion::takeCamera(const QvSFVec3f& position, const QvSFRotation& orientation, float heightAngle,
                                 const char* kind, const QvState& state) {
  if (result_.camera) return;
  // A camera looks along its −z with +y up, turned by its orientation, then
  // carried by the modelling transforms in force like any shape.
  const Matrix4 modelling = modellingMatrix(state);
  const Matrix4 turn =
      Matrix4::rotation(orientation.axis[0], orientation.axis[1], orientation.axis[2], orientation.angle);
  const Vector3 origin = modelling.transformPoint(Vector3());
  Vector3 view = modelling.transformPoint(turn.transformPoint(Vector3(0, 0, -1))) - origin;
  Vector3 up = modelling.transformPoint(turn.transformPoint(Vector3(0, 1, 0))) - origin;
  if (!view.normalize()) return;
  up = up - dot(up, view) * view; // a shearing transform may tilt it
  if (!up.normalize()) up = std::fabs(view.y) < 0.9f ? Vector3(0, 1, 0) : Vector3(0, 0, 1);
  SceneCamera camera;
  camera.position = modelling.transformPoint(vec3(position.value));
  camera.viewDirection = view;
  camera.up = up;
  camera.heightAngleRadians = heightAngle;
  camera.kind = kind;
  result_.camera = camera;
}

void SceneConversion::perspectiveCamera(const QvPerspectiveCamera& node, const QvState& state) {
  takeCamera(node.position, node.orientation, node.heightAngle.value, "PerspectiveCamera", state);
}

void SceneConversion::orthographicCamera(const QvOrthographicCamera& node, const QvState& state) {
  takeCamera(node.position, node.orientation, 0.0f, "OrthographicCamera", state);
}

void SceneConversion::beginLOD(const QvLOD& node, const QvState&) {
  OpenLOD open{nullptr, currentGroup_};
  if (building()) {
    std::vector<float> ranges;
    if (!node.range.isDefault()) ranges.assign(node.range.values, node.range.values + node.range.num);
    if (ranges.empty() && !warnedLODWithoutRange_) {
      warnedLODWithoutRange_ = true;
      printWarning("LOD without range: its first child is always shown\n");
    }
    open.lod = static_cast<DvLOD*>(
        currentGroup_->append(std::make_unique<DvLOD>(vec3(node.center.value), std::move(ranges))));
    ++result_.summary.lods;
  }
  openLODs_.push_back(open);
}

// Every scene-file child gets its own level group, even one that builds nothing.
void SceneConversion::beginLODChild(const QvLOD&, int) {
  DvLOD* lod = openLODs_.back().lod;
  if (lod) currentGroup_ = static_cast<DvGroup*>(lod->append(std::make_unique<DvGroup>()));
  boundTextureKnown_ = false; // which level drew last is known only when drawing

}

void SceneConversion::endLOD(const QvLOD&, const QvState& state) {
  OpenLOD open = openLODs_.back();
  openLODs_.pop_back();
  currentGroup_ = open.savedGroup;
  boundTextureKnown_ = false;
  if (open.lod) open.lod->setTransformation(modellingMatrix(state));
}

} // namespace

ConversionResult convertScene(QvNode& fileRoot, DvGroup& sceneRoot, long maxDisplayVertices) {
  ConversionOptions options;
  options.maxDisplayVertices = maxDisplayVertices;
  return convertScene(fileRoot, sceneRoot, options);
}

ConversionResult convertScene(QvNode& fileRoot, DvGroup& sceneRoot, const ConversionOptions& options) {
  // A huge or hostile file may ask for more memory than there is: the
  // conversion fails with a message, and what was built is freed with the
  // scene root as usual.
  try {
    auto defaultMaterial = std::make_unique<DvMaterial>();
    defaultMaterial->resetToDefaults();
    sceneRoot.append(std::move(defaultMaterial));
    sceneRoot.append(std::make_unique<RelFrame>(Vector3(), Vector3()));

    SceneConversion conversion(sceneRoot, options);
    {
      QvState state(&conversion);
      // Local WWWInline files are read beside the scene, when its folder is known.
      state.setInlineFolder(options.sceneFolder);
      fileRoot.traverse(state);
    }
    return conversion.result();
  } catch (const std::bad_alloc&) {
    ConversionResult failed;
    failed.ok = false;
    failed.error = "Out of memory while converting the scene";
    return failed;
  }
}

} // namespace quillmere
