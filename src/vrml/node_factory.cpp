#include "vrml/node_factory.h"

#include "vrml/group_nodes.h"
#include "vrml/light_camera_nodes.h"
#include "vrml/property_nodes.h"
#include "vrml/relativistic_nodes.h"
#include "vrml/shape_nodes.h"
#include "vrml/state.h"
#include "vrml/transform_nodes.h"

#include <cstddef>

namespace quillmere {

namespace {

template <typename Node>
QvNode* make() {
  return new Node;
}

struct Maker {
  const char* keyword;
  QvNode* (*create)();
};

const Maker kMakers[] = {
    {"AsciiText", make<QvAsciiText>},
    {"Cone", make<QvCone>},
    {"Coordinate3", make<QvCoordinate3>},
    {"Cube", make<QvCube>},
    {"Cylinder", make<QvCylinder>},
    {"DirectionalLight", make<QvDirectionalLight>},
    {"FontStyle", make<QvFontStyle>},
    {"Group", make<QvGroup>},
    {"IndexedFaceSet", make<OwnIndexedFaceSet>},
    {"IndexedLineSet", make<OwnIndexedLineSet>},
    {"Info", make<QvInfo>},
    {"LevelOfDetail", make<QvLevelOfDetail>},
    {"LOD", make<QvLOD>},
    {"RELmaterialConstant", make<QvRELmaterialConstant>},
    {"RELmaterialPlanck", make<QvRELmaterialPlanck>},
    {"RELmaterialSampled", make<QvRELmaterialSampled>},
    {"RELmaterialRGB", make<QvRELmaterialRGB>},
    {"RELframe", make<ownRELframe>},
    {"Material", make<ownMaterial>},
    {"MaterialBinding", make<QvMaterialBinding>},
    {"MatrixTransform", make<QvMatrixTransform>},
    {"Normal", make<QvNormal>},
    {"NormalBinding", make<QvNormalBinding>},
    {"OrthographicCamera", make<QvOrthographicCamera>},
    {"PerspectiveCamera", make<QvPerspectiveCamera>},
    {"PointLight", make<QvPointLight>},
    {"PointSet", make<QvPointSet>},
    {"Rotation", make<QvRotation>},
    {"Scale", make<QvScale>},
    {"Separator", make<QvSeparator>},
    {"ShapeHints", make<QvShapeHints>},
    {"Sphere", make<QvSphere>},
    {"SpotLight", make<QvSpotLight>},
    {"Switch", make<QvSwitch>},
    {"Texture2", make<ownTexture2>},
    {"Texture2Transform", make<QvTexture2Transform>},
    {"TextureCoordinate2", make<QvTextureCoordinate2>},
    {"Transform", make<QvTransform>},
    {"TransformSeparator", make<QvTransformSeparator>},
    {"Translation", make<QvTranslation>},
    {"WWWAnchor", make<QvWWWAnchor>},
    {"WWWInline", make<QvWWWInline>},
};
constexpr int kNumMakers = static_cast<int>(sizeof kMakers / sizeof kMakers[0]);

} // namespace

QvNode* createNodeFromClassName(const QvName& keyword) {
  // Interned once, so each lookup compares pointers only.
  static const struct Keys {
    QvName names[kNumMakers];
    Keys() {
      for (int i = 0; i < kNumMakers; ++i) names[i] = QvName(kMakers[i].keyword);
    }
  } keys;
  for (int i = 0; i < kNumMakers; ++i)
    if (keys.names[i] == keyword) return kMakers[i].create();
  return nullptr;
}

const char* const* qvNodeKeywords(int& count) {
  static const char* keywords[kNumMakers];
  for (int i = 0; i < kNumMakers; ++i) keywords[i] = kMakers[i].keyword;
  count = kNumMakers;
  return keywords;
}

void qvPushElement(QvState& state, int stack, int type, QvNode* node) {
  auto* element = new QvElement;
  element->data = node;
  element->type = type;
  state.addElement(stack, element);
}

} // namespace quillmere
