#include "scene/model_import.h"

#include "diagnostics/diagnostics.h"
#include "scene/display_budget.h"
#include "display/group.h"
#include "display/indexed_face_set.h"
#include "display/indexed_line_set.h"
#include "display/material.h"
#include "display/rel_frame.h"
#include "scene/rel_material_conversion.h"
#include "display/texture_2.h"
#include "gl/picture_2d.h"
#include "scene/assimp_probe.h"
#include "scene/gltf_extras.h"
#include "scene/model_material.h"
#include "scene/model_precheck.h"
#include "support/file_name.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

namespace quillmere {

namespace {

static_assert(sizeof(aiVector3D) == 3 * sizeof(float), "Assimp's vectors are read as float triples");

constexpr int kMaxNodeDepth = 1000;             // deeper hierarchies are cut there, with a warning
constexpr unsigned kMaxMeshVertices = 1u << 28;  // per mesh; the vertex budget usually ends far earlier
constexpr float kImportCreaseAngle = 0.5f;       // radians (about 29°) where a mesh gives no normals
constexpr unsigned kMaxRawTextureSide = 16384;   // pixels, for uncompressed embedded pictures

Matrix4 matrixOf(const aiMatrix4x4& a) {
  Matrix4 m;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m(r, c) = float(a[unsigned(r)][unsigned(c)]);
  return m;
}

bool isFinite(const Matrix4& m) {
  for (float x : m.m)
    if (!std::isfinite(x)) return false;
  return true;
}

bool isFinite(const aiVector3D& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

Vector3 vec3(const aiVector3D& v) { return Vector3(v.x, v.y, v.z); }

std::string nodeName(const aiNode& node) { return std::string(node.mName.C_Str()); }

// A texture's pixels, decoded once per material and copied into each
// texture node that binds it.
struct TexturePixels {
  bool tried = false;
  bool ok = false;
  std::vector<unsigned char> pixels; // bottom row first
  int width = 0, height = 0, components = 0;
};

struct FrameValues {
  Vector3 translation, velocity;
};

class ModelImport {
public:
  ModelImport(const aiScene& scene, DvGroup& root, const ConversionOptions& options, const GltfExtras* extras,
              bool texturesFromFiles)
      : scene_(scene), root_(root), options_(options), extras_(extras), texturesFromFiles_(texturesFromFiles),
        budget_(options.maxDisplayVertices, options.maxEdgeLength, result_.summary.displayVertices) {}

  ConversionResult run();

private:
  bool building() const { return result_.ok && !budget_.spent(); }
  void prepareMaterials();
  void walk(const aiNode& node, const Matrix4& parentWorld, int gltfNode, int depth);
  // The file's node for each of Assimp's children: by position when the
  // counts agree, else by name; -1 for none.
  std::vector<int> matchChildren(const aiNode& node, int gltfNode);
  void addMesh(const aiMesh& mesh, const Matrix4& world);
  void addPolygons(const aiMesh& mesh, const std::vector<std::int32_t>& coordIndex, bool beyondTriangles,
                   const Matrix4& world);
  void addLines(const aiMesh& mesh, const std::vector<std::int32_t>& coordIndex, bool points, const Matrix4& world);
  // What every shape takes from its material: OpenGL and relativistic
  // materials, transformation, counts, its place in the list.
  void finishShape(std::unique_ptr<DvVertexSet> shape, unsigned material);
  const TexturePixels& textureOf(unsigned material);
  bool loadEmbedded(const aiTexture& texture, const std::string& name, TexturePixels& out);
  void bindTexture(unsigned material);
  void readCamera();

  const aiScene& scene_;
  DvGroup& root_;
  const ConversionOptions& options_;
  const GltfExtras* extras_;       // null: not glTF (or no JSON)
  bool texturesFromFiles_;         // false: only embedded pictures
  ConversionResult result_;
  DisplayBudget budget_;           // counts into result_.summary.displayVertices
  std::vector<ModelMaterial> materials_;    // per Assimp material
  std::vector<TexturePixels> textures_;     // per Assimp material
  FrameValues frame_;              // the frame the shapes being appended rest in
  long boundTexture_ = -1;         // the material whose texture node is in force; -1: none
  bool warnedUnmatched_ = false;
  bool warnedDepth_ = false;
};

void ModelImport::prepareMaterials() {
  materials_.resize(scene_.mMaterials ? scene_.mNumMaterials : 0);
  textures_.resize(materials_.size());
  for (std::size_t i = 0; i < materials_.size(); ++i)
    if (scene_.mMaterials[i]) materials_[i] = modelMaterialOf(*scene_.mMaterials[i]);
}

std::vector<int> ModelImport::matchChildren(const aiNode& node, int gltfNode) {
  std::vector<int> matched(node.mNumChildren, -1);
  if (!extras_ || gltfNode == -1) return matched;
  const std::vector<int>& fileChildren =
      gltfNode < 0 ? extras_->sceneRoots : extras_->nodes[std::size_t(gltfNode)].children;
  if (fileChildren.size() == node.mNumChildren) {
    for (std::size_t i = 0; i < matched.size(); ++i) matched[i] = fileChildren[i];
    return matched;
  }
  for (std::size_t i = 0; i < matched.size(); ++i) {
    if (!node.mChildren[i]) continue;
    const std::string name = nodeName(*node.mChildren[i]);
    for (int child : fileChildren)
      if (!name.empty() && extras_->nodes[std::size_t(child)].name == name) matched[i] = child;
    if (matched[i] < 0 && !warnedUnmatched_) {
      warnedUnmatched_ = true;
      printWarning("glTF node \"%s\" could not be matched to the file's nodes; its extras (if any) are not used\n",
                   name.c_str());
    }
  }
  return matched;
}

void ModelImport::walk(const aiNode& node, const Matrix4& parentWorld, int gltfNode, int depth) {
  if (!building()) return;
  if (depth > kMaxNodeDepth) {
    if (!warnedDepth_) printWarning("The model's node hierarchy is deeper than %d; the rest is left out\n", kMaxNodeDepth);
    warnedDepth_ = true;
    return;
  }
  Matrix4 world = multiply(parentWorld, matrixOf(node.mTransformation));
  if (!isFinite(world)) {
    printWarning("Model node \"%s\" has a transformation that is not finite; it is left out\n", node.mName.C_Str());
    return;
  }

  // A node with frame extras: it and its subtree in a frame of their own;
  // what follows it goes on in the frame it stood in.
  const FrameValues outer = frame_;
  const GltfFrameExtras* frame =
      extras_ && gltfNode >= 0 ? &extras_->nodes[std::size_t(gltfNode)].frame : nullptr;
  const bool ownFrame = frame && frame->given;
  if (ownFrame) {
    frame_ = {frame->translation, frame->velocity};
    root_.append(std::make_unique<RelFrame>(frame_.translation, frame_.velocity));
    ++result_.summary.frames;
  }

  for (unsigned i = 0; i < node.mNumMeshes && node.mMeshes && building(); ++i) {
    const unsigned index = node.mMeshes[i];
    if (index < scene_.mNumMeshes && scene_.mMeshes && scene_.mMeshes[index])
      addMesh(*scene_.mMeshes[index], world);
    else
      printWarning("Model node \"%s\" names mesh %u of %u; it is left out\n", node.mName.C_Str(), index,
                   scene_.mNumMeshes);
  }
  if (node.mChildren) {
    const std::vector<int> matched = matchChildren(node, gltfNode);
    for (unsigned i = 0; i < node.mNumChildren; ++i)
      if (node.mChildren[i]) walk(*node.mChildren[i], world, matched[i], depth + 1);
  }

  if (ownFrame) {
    frame_ = outer;
    root_.append(std::make_unique<RelFrame>(frame_.translation, frame_.velocity));
  }
}

void ModelImport::addMesh(const aiMesh& mesh, const Matrix4& world) {
  const char* name = mesh.mName.C_Str();
  if (!mesh.mVertices || mesh.mNumVertices == 0 || mesh.mNumFaces == 0 || !mesh.mFaces) return;
  if (mesh.mNumVertices > kMaxMeshVertices) {
    printWarning("Model mesh \"%s\" has %u vertices, more than %u; it is left out\n", name, mesh.mNumVertices,
                 kMaxMeshVertices);
    return;
  }
  for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
    if (!isFinite(mesh.mVertices[i])) {
      printWarning("Model mesh \"%s\": vertex %u is not finite; the mesh is left out\n", name, i);
      return;
    }
  }

  // Faces by kind, each checked against the vertices.
  std::vector<std::int32_t> polygons, lines, points;
  bool beyondTriangles = false;
  long facesLeftOut = 0;
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    const aiFace& face = mesh.mFaces[f];
    bool sound = face.mNumIndices > 0 && face.mIndices;
    for (unsigned k = 0; sound && k < face.mNumIndices; ++k) sound = face.mIndices[k] < mesh.mNumVertices;
    if (!sound) {
      ++facesLeftOut;
      continue;
    }
    std::vector<std::int32_t>& target = face.mNumIndices == 1 ? points : face.mNumIndices == 2 ? lines : polygons;
    for (unsigned k = 0; k < face.mNumIndices; ++k) target.push_back(std::int32_t(face.mIndices[k]));
    if (face.mNumIndices > 1) target.push_back(-1);
    beyondTriangles = beyondTriangles || face.mNumIndices > 3;
  }
  if (facesLeftOut > 0)
    printWarning("Model mesh \"%s\": %ld of %u faces name vertices it does not have; they are left out\n", name,
                 facesLeftOut, mesh.mNumFaces);
  if (!polygons.empty()) addPolygons(mesh, polygons, beyondTriangles, world);
  if (!lines.empty() && building()) addLines(mesh, lines, false, world);
  if (!points.empty() && building()) addLines(mesh, points, true, world);
}

void ModelImport::addPolygons(const aiMesh& mesh, const std::vector<std::int32_t>& coordIndex, bool beyondTriangles,
                              const Matrix4& world) {
  const unsigned material = mesh.mMaterialIndex;
  const int vertexCount = int(mesh.mNumVertices);
  FaceSetSource source;
  source.points = reinterpret_cast<const float(*)[3]>(mesh.mVertices);
  source.pointCount = vertexCount;
  source.coordIndex = coordIndex.data();
  source.coordIndexCount = long(coordIndex.size());
  source.convexFaces = !beyondTriangles; // polygons from CAD and scanners may be concave

  // Normals only when every one is finite and not zero; else from the geometry.
  bool normalsGiven = mesh.mNormals != nullptr;
  for (unsigned i = 0; normalsGiven && i < mesh.mNumVertices; ++i)
    normalsGiven = isFinite(mesh.mNormals[i]) && mesh.mNormals[i].SquareLength() > 0;
  if (normalsGiven) {
    source.normals = reinterpret_cast<const float(*)[3]>(mesh.mNormals);
    source.normalCount = vertexCount;
  }

  // Texture coordinates only under a texture that loaded.
  std::vector<float> texCoords;
  if (mesh.mTextureCoords[0] && mesh.mNumUVComponents[0] >= 2 && textureOf(material).ok) {
    texCoords.resize(2 * std::size_t(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
      const aiVector3D& uv = mesh.mTextureCoords[0][i];
      texCoords[2 * std::size_t(i)] = std::isfinite(uv.x) ? uv.x : 0.0f;
      texCoords[2 * std::size_t(i) + 1] = std::isfinite(uv.y) ? uv.y : 0.0f;
    }
    source.texCoords = reinterpret_cast<const float(*)[2]>(texCoords.data());
    source.texCoordCount = vertexCount;
  }

  std::unique_ptr<DvIndexedFaceSet> faceSet;
  if (normalsGiven && !mesh.mColors[0]) {
    if (!budget_.admit(vertexCount)) return;
    faceSet = std::make_unique<DvIndexedFaceSet>(source);
  } else {
    // Vertex colours are per-vertex materials (the colour times the
    // material's diffuse colour, as glTF multiplies them).
    std::vector<VertexMaterial> palette;
    static const ModelMaterial kDefaultMaterial;
    const ModelMaterial& shape = material < materials_.size() ? materials_[material] : kDefaultMaterial;
    if (mesh.mColors[0]) {
      palette.resize(std::size_t(vertexCount));
      for (int i = 0; i < vertexCount; ++i) {
        const aiColor4D& c = mesh.mColors[0][i];
        VertexMaterial& entry = palette[std::size_t(i)];
        auto unit = [](float x) { return std::isfinite(x) ? std::clamp(x, 0.0f, 1.0f) : 0.0f; };
        entry.diffuse = Vector3(unit(c.r) * shape.diffuse.x, unit(c.g) * shape.diffuse.y, unit(c.b) * shape.diffuse.z);
        entry.ambient = 0.25f * entry.diffuse;
        entry.specular = shape.specular;
        entry.emissive = shape.emissive;
        entry.transparency = 1.0f - unit(c.a) * (1.0f - shape.transparency);
      }
      source.materialBinding = FaceMaterialBinding::PerVertexIndexed;
      source.materialCount = vertexCount;
    }
    source.normalBinding = normalsGiven ? FaceNormalBinding::PerVertexIndexed : FaceNormalBinding::Generated;
    source.creaseAngle = kImportCreaseAngle;
    FaceSetMesh built = buildFaceSetMesh(source);
    if (!budget_.admit(long(built.vertices.size()))) return;
    std::vector<VertexMaterial> vertexMaterials;
    if (!palette.empty() && built.vertexMaterials.size() == built.vertices.size()) {
      vertexMaterials.reserve(built.vertexMaterials.size());
      for (int number : built.vertexMaterials)
        vertexMaterials.push_back(palette[std::size_t(std::clamp(number, 0, vertexCount - 1))]);
    }
    faceSet = std::make_unique<DvIndexedFaceSet>(std::move(built));
    faceSet->setVertexMaterials(std::move(vertexMaterials));
  }

  // glTF says which materials show both sides; the other formats do not
  // say which way their faces wind, so their faces show both sides.
  const bool gltf = extras_ != nullptr;
  const bool twoSided = !gltf || (material < materials_.size() && materials_[material].twoSided);
  faceSet->setTwoSided(twoSided);
  if (faceSet->hasTextureCoordinates()) bindTexture(material);
  else boundTexture_ = -1; // the set switches texturing off as it draws
  faceSet->setTransformation(world);
  budget_.subdivide(*faceSet);
  ++result_.summary.faceSets;
  result_.summary.triangles += faceSet->triangleCount();
  finishShape(std::move(faceSet), material);
}

void ModelImport::addLines(const aiMesh& mesh, const std::vector<std::int32_t>& coordIndex, bool points,
                           const Matrix4& world) {
  if (!budget_.admit(long(mesh.mNumVertices))) return;
  auto lineSet = std::make_unique<DvIndexedLineSet>(reinterpret_cast<const float(*)[3]>(mesh.mVertices),
                                                    int(mesh.mNumVertices), coordIndex.data(), long(coordIndex.size()));
  lineSet->setDrawsPoints(points);
  lineSet->setTransformation(world);
  if (points) {
    ++result_.summary.pointSets;
  } else {
    ++result_.summary.lineSets;
    result_.summary.lineVertices += lineSet->lineVertexCount();
  }
  finishShape(std::move(lineSet), mesh.mMaterialIndex);
}

void ModelImport::finishShape(std::unique_ptr<DvVertexSet> shape, unsigned material) {
  shape->resetTransformedVertices();
  if (material < materials_.size()) {
    shape->setMaterial(displayMaterialOf(materials_[material]));
    ++result_.summary.materials;
    if (extras_ && material < extras_->materials.size()) {
      const GltfMaterialExtras& rel = extras_->materials[material];
      switch (rel.kind) {
      case GltfRelMaterialKind::Constant:
        shape->setRelMaterial(constantSpectralMaterial(rel.ambient, rel.diffuse, rel.specular));
        break;
      case GltfRelMaterialKind::Planck: shape->setRelMaterial(planckSpectralMaterial(rel.temperature, rel.strength)); break;
      case GltfRelMaterialKind::Sampled:
        shape->setRelMaterial(sampledSpectralMaterial(rel.ambientSamples, rel.diffuseSamples, rel.specularSamples));
        break;
      case GltfRelMaterialKind::Rgb:
        shape->setRelMaterial(rgbSpectralMaterial(rel.ambientColor, rel.diffuseColor, rel.specularColor));
        break;
      case GltfRelMaterialKind::None: break;
      }
    }
  }
  root_.append(std::move(shape));
}

// Compressed pictures (PNG, JPEG, …) go through Picture2D like files;
// uncompressed ones are BGRA texels, top row first.
bool ModelImport::loadEmbedded(const aiTexture& texture, const std::string& name, TexturePixels& out) {
  if (!texture.pcData) return false;
  if (texture.mHeight == 0) {
    Picture2D picture;
    if (!picture.loadBytes(reinterpret_cast<const unsigned char*>(texture.pcData), texture.mWidth, name.c_str()) ||
        !picture.getPixels())
      return false;
    out.pixels.assign(picture.getPixels(), picture.getPixels() + picture.byteCount());
    out.width = picture.getWidth();
    out.height = picture.getHeight();
    out.components = picture.getComponents();
    return true;
  }
  if (texture.mWidth == 0 || texture.mWidth > kMaxRawTextureSide || texture.mHeight > kMaxRawTextureSide) {
    printWarning("Embedded picture %s: %u x %u pixels cannot be a texture\n", name.c_str(), texture.mWidth,
                 texture.mHeight);
    return false;
  }
  out.width = int(texture.mWidth);
  out.height = int(texture.mHeight);
  out.components = 4;
  out.pixels.resize(std::size_t(out.width) * std::size_t(out.height) * 4);
  unsigned char* target = out.pixels.data();
  for (int row = out.height; row-- > 0;) {
    const aiTexel* texel = texture.pcData + std::size_t(row) * std::size_t(out.width);
    for (int column = 0; column < out.width; ++column, ++texel) {
      *target++ = texel->r;
      *target++ = texel->g;
      *target++ = texel->b;
      *target++ = texel->a;
    }
  }
  return true;
}

const TexturePixels& ModelImport::textureOf(unsigned material) {
  static const TexturePixels kNone;
  if (material >= textures_.size()) return kNone;
  TexturePixels& texture = textures_[material];
  if (texture.tried) return texture;
  texture.tried = true;
  const std::string& name = materials_[material].texture;
  if (name.empty()) return texture;

  // "*n": embedded picture n; a name an embedded picture carries: that picture.
  const aiTexture* embedded = nullptr;
  if (name[0] == '*') {
    char* end = nullptr;
    const unsigned long index = std::strtoul(name.c_str() + 1, &end, 10);
    if (end != name.c_str() + 1 && *end == '\0' && scene_.mTextures && index < scene_.mNumTextures)
      embedded = scene_.mTextures[index];
    if (!embedded) {
      printWarning("Model material names embedded picture %s, which the file does not have\n", name.c_str());
      return texture;
    }
  } else if (scene_.mTextures) {
    for (unsigned i = 0; i < scene_.mNumTextures && !embedded; ++i)
      if (scene_.mTextures[i] && name == scene_.mTextures[i]->mFilename.C_Str()) embedded = scene_.mTextures[i];
  }
  if (embedded) {
    texture.ok = loadEmbedded(*embedded, name, texture);
  } else if (texturesFromFiles_) {
    Picture2D picture;
    const std::string path = resolveTextureFile(name, options_.sceneFolder);
    if (picture.load(path.c_str()) && picture.getPixels()) {
      texture.pixels.assign(picture.getPixels(), picture.getPixels() + picture.byteCount());
      texture.width = picture.getWidth();
      texture.height = picture.getHeight();
      texture.components = picture.getComponents();
      texture.ok = true;
    }
  }
  return texture;
}

void ModelImport::bindTexture(unsigned material) {
  if (boundTexture_ == long(material)) return;
  const TexturePixels& pixels = textureOf(material);
  Texture2Source source;
  source.wrapS = materials_[material].wrapS;
  source.wrapT = materials_[material].wrapT;
  source.imageGiven = true;
  source.image = pixels.pixels.data();
  source.imageWidth = pixels.width;
  source.imageHeight = pixels.height;
  source.imageComponents = pixels.components;
  auto texture = std::make_unique<DvTexture2>();
  texture->setTextureNode(source);
  root_.append(std::move(texture));
  ++result_.summary.textures;
  boundTexture_ = long(material);
}

// The first camera, placed by the node of its name (Assimp's rule).
void ModelImport::readCamera() {
  if (!scene_.mCameras || scene_.mNumCameras == 0 || !scene_.mCameras[0] || !scene_.mRootNode) return;
  const aiCamera& camera = *scene_.mCameras[0];
  Matrix4 world;
  if (const aiNode* node = scene_.mRootNode->FindNode(camera.mName)) {
    int depth = 0;
    for (const aiNode* n = node; n && depth <= kMaxNodeDepth; n = n->mParent, ++depth)
      world = multiply(matrixOf(n->mTransformation), world);
  }
  if (!isFinite(world) || !isFinite(camera.mPosition) || !isFinite(camera.mLookAt) || !isFinite(camera.mUp)) return;
  SceneCamera start;
  // Assimp 5.2 also copies a glTF camera node's translation into the
  // camera's position, where the node's transformation already holds it.
  start.position = world.transformPoint(extras_ ? Vector3() : vec3(camera.mPosition));
  const Vector3 origin = world.transformPoint(Vector3());
  Vector3 view = world.transformPoint(vec3(camera.mLookAt)) - origin;
  Vector3 up = world.transformPoint(vec3(camera.mUp)) - origin;
  if (view.length() <= 0 || !std::isfinite(view.length())) return;
  view = view.normalized();
  up = up - (up.x * view.x + up.y * view.y + up.z * view.z) * view; // perpendicular to the view
  start.viewDirection = view;
  start.up = up.length() > 0 ? up.normalized() : Vector3(0, 1, 0);
  // Assimp 5.2 stores half the horizontal angle; for glTF it stores yfov × aspect.
  const float aspect = camera.mAspect > 0 && std::isfinite(camera.mAspect) ? camera.mAspect : 1.0f;
  float height = extras_ ? camera.mHorizontalFOV / aspect
                         : 2.0f * std::atan(std::tan(camera.mHorizontalFOV) / aspect);
  start.heightAngleRadians = std::isfinite(height) && height > 0 && height < 3.14f ? height : 0.0f;
  start.kind = "camera";
  result_.camera = start;
}

ConversionResult ModelImport::run() {
  auto defaultMaterial = std::make_unique<DvMaterial>();
  defaultMaterial->resetToDefaults();
  root_.append(std::move(defaultMaterial));
  root_.append(std::make_unique<RelFrame>(Vector3(), Vector3()));
  prepareMaterials();
  readCamera();
  if (!scene_.mRootNode) return result_;
  // glTF: Assimp's root is the file's one root node, or a node it made above several.
  int gltfRoot = -1;
  if (extras_) {
    gltfRoot = extras_->sceneRoots.size() == 1 ? extras_->sceneRoots[0] : -2;
  }
  walk(*scene_.mRootNode, Matrix4(), gltfRoot, 0);
  return result_;
}

// Formats that give every face corner a vertex of its own (OBJ, STL, …)
// have their identical corners joined: each vertex is transformed every
// frame, so a mesh shared as glTF shares it is several times cheaper to
// draw. glTF's meshes are indexed already.
// The file name's extension in lower case, without the dot.
std::string extensionOf(const std::string& path) {
  const std::size_t dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return std::string();
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

unsigned postProcessing(bool gltf) { return gltf ? 0u : unsigned(aiProcess_JoinIdenticalVertices); }

ConversionResult failed(const std::string& message) {
  ConversionResult result;
  result.ok = false;
  result.error = message;
  return result;
}

// A read that crashed or hung in the child is not tried here.
bool probedSafely(ProbeVerdict verdict, int signal, const std::string& label, std::string& error) {
  if (verdict == ProbeVerdict::Crashed) {
    error = "Cannot read " + label + ": the model reader crashed on it (signal " + std::to_string(signal) +
            "); the file is damaged";
    return false;
  }
  if (verdict == ProbeVerdict::TimedOut) {
    error = "Cannot read " + label + ": the model reader did not finish within " +
            std::to_string(kModelReadSeconds) + " s; the file is damaged";
    return false;
  }
  return true;
}

ConversionResult importScene(const aiScene* scene, Assimp::Importer& importer, const std::string& label,
                             DvGroup& sceneRoot, const ConversionOptions& options, const GltfExtras* extras,
                             bool texturesFromFiles) {
  if (!scene) return failed(std::string("Cannot read ") + label + ": " + importer.GetErrorString());
  if (!scene->mRootNode) return failed(std::string("Cannot read ") + label + ": it holds no scene");
  ModelImport import(*scene, sceneRoot, options, extras, texturesFromFiles);
  return import.run();
}

} // namespace

bool isModelFile(const std::string& path) {
  for (const char* suffix : {".gltf", ".glb", ".obj", ".ply", ".stl", ".dae", ".3ds", ".fbx"})
    if (endsWithNoCase(path, suffix)) return true;
  return false;
}

ConversionResult importModel(const std::string& path, DvGroup& sceneRoot, const ConversionOptions& options) {
  try {
    GltfExtras extras;
    const bool gltf = isGltfFile(path);
    std::string error;
    if (gltf && !readGltfExtras(path, extras, error)) return failed("Cannot read " + error);
    if (!precheckModelFile(path, extensionOf(path), error)) return failed("Cannot read " + path + ": " + error);
    int signal = 0;
    if (!probedSafely(probeModelFile(path, postProcessing(gltf), signal), signal, path, error)) return failed(error);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, postProcessing(gltf));
    return importScene(scene, importer, path, sceneRoot, options, gltf ? &extras : nullptr, true);
  } catch (const std::bad_alloc&) {
    return failed("Out of memory while importing " + path);
  }
}

ConversionResult importModelFromMemory(const unsigned char* bytes, std::size_t size, const char* hint,
                                       DvGroup& sceneRoot, const ConversionOptions& options) {
  try {
    GltfExtras extras;
    const bool gltf = std::strcmp(hint, "gltf") == 0 || std::strcmp(hint, "glb") == 0;
    std::string error;
    if (gltf && !readGltfExtrasFromBytes(bytes, size, extras, error)) return failed("Cannot read the model: " + error);
    if (!precheckModel(bytes, size, hint, error)) return failed("Cannot read the model: " + error);
    int signal = 0;
    if (!probedSafely(probeModelBytes(bytes, size, hint, postProcessing(gltf), signal), signal, "the model", error))
      return failed(error);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(bytes, size, postProcessing(gltf), hint);
    return importScene(scene, importer, "the model", sceneRoot, options, gltf ? &extras : nullptr, false);
  } catch (const std::bad_alloc&) {
    return failed("Out of memory while importing the model");
  }
}

} // namespace quillmere
