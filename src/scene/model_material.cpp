#include "scene/model_material.h"

#include <assimp/material.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillmere {

namespace {

float clamp01(float x) { return std::isfinite(x) ? std::clamp(x, 0.0f, 1.0f) : 0.0f; }
Vector3 clamp01(const Vector3& v) { return Vector3(clamp01(v.x), clamp01(v.y), clamp01(v.z)); }

bool getFloat(const aiMaterial& material, const char* key, unsigned type, unsigned index, float& out) {
  ai_real value;
  if (material.Get(key, type, index, value) != aiReturn_SUCCESS || !std::isfinite(value)) return false;
  out = float(value);
  return true;
}

bool getColour(const aiMaterial& material, const char* key, unsigned type, unsigned index, aiColor4D& out) {
  aiColor4D value(0, 0, 0, 1);
  if (material.Get(key, type, index, value) != aiReturn_SUCCESS) return false;
  if (!std::isfinite(value.r) || !std::isfinite(value.g) || !std::isfinite(value.b) || !std::isfinite(value.a))
    return false;
  out = value;
  return true;
}

Vector3 rgb(const aiColor4D& c) { return Vector3(c.r, c.g, c.b); }

void readTexture(const aiMaterial& material, ModelMaterial& out) {
  for (aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE}) {
    if (material.GetTextureCount(type) == 0) continue;
    aiString path;
    aiTextureMapMode modes[2] = {aiTextureMapMode_Wrap, aiTextureMapMode_Wrap};
    if (material.GetTexture(type, 0, &path, nullptr, nullptr, nullptr, nullptr, modes) != aiReturn_SUCCESS) continue;
    if (path.length == 0) continue;
    out.texture.assign(path.C_Str(), std::min<std::size_t>(path.length, std::strlen(path.C_Str())));
    out.wrapS = modes[0] == aiTextureMapMode_Clamp ? 1 : 0;
    out.wrapT = modes[1] == aiTextureMapMode_Clamp ? 1 : 0;
    return;
  }
}

} // namespace

ModelMaterial modelMaterialOf(const aiMaterial& material) {
  ModelMaterial out;
  aiColor4D base(0.8f, 0.8f, 0.8f, 1.0f);
  if (!getColour(material, AI_MATKEY_BASE_COLOR, base)) getColour(material, AI_MATKEY_COLOR_DIFFUSE, base);
  float metallic = 0, roughness = 1;
  const bool physical = getFloat(material, AI_MATKEY_METALLIC_FACTOR, metallic) |
                        getFloat(material, AI_MATKEY_ROUGHNESS_FACTOR, roughness);
  metallic = clamp01(metallic);
  roughness = clamp01(roughness);

  if (physical) {
    out.diffuse = clamp01((1.0f - 0.5f * metallic) * rgb(base));
    const Vector3 reflectance = (1.0f - metallic) * Vector3(0.04f, 0.04f, 0.04f) + metallic * rgb(base);
    out.specular = clamp01((1.0f - roughness) * reflectance);
    out.shininess = (1.0f - roughness) * (1.0f - roughness);
  } else {
    out.diffuse = clamp01(rgb(base));
    float exponent = 0;
    aiColor4D specular(0, 0, 0, 1);
    if (getFloat(material, AI_MATKEY_SHININESS, exponent) && exponent > 0 &&
        getColour(material, AI_MATKEY_COLOR_SPECULAR, specular)) {
      float strength = 1;
      getFloat(material, AI_MATKEY_SHININESS_STRENGTH, strength);
      out.specular = clamp01(strength * rgb(specular));
      out.shininess = std::min(exponent / 128.0f, 1.0f);
    }
  }
  out.ambient = 0.25f * out.diffuse;

  aiColor4D emissive(0, 0, 0, 1);
  getColour(material, AI_MATKEY_COLOR_EMISSIVE, emissive);
  float intensity = 1;
  getFloat(material, AI_MATKEY_EMISSIVE_INTENSITY, intensity);
  out.emissive = clamp01(intensity * rgb(emissive));

  float opacity = 1;
  getFloat(material, AI_MATKEY_OPACITY, opacity);
  float alpha = base.a;
  aiString alphaMode;
  if (material.Get("$mat.gltf.alphaMode", 0, 0, alphaMode) == aiReturn_SUCCESS &&
      std::strcmp(alphaMode.C_Str(), "OPAQUE") == 0) {
    alpha = 1;
    opacity = 1;
  }
  out.transparency = clamp01(1.0f - clamp01(opacity) * clamp01(alpha));

  // Read from the property itself: importers store it as a one-byte bool
  // or as a four-byte integer.
  const aiMaterialProperty* twoSided = nullptr;
  if (aiGetMaterialProperty(&material, AI_MATKEY_TWOSIDED, &twoSided) == aiReturn_SUCCESS && twoSided &&
      twoSided->mData && twoSided->mDataLength >= 1) {
    out.twoSidedGiven = true;
    bool nonZero = false;
    for (unsigned i = 0; i < twoSided->mDataLength && i < 4; ++i) nonZero = nonZero || twoSided->mData[i] != 0;
    out.twoSided = nonZero;
  }
  readTexture(material, out);
  return out;
}

std::unique_ptr<DvMaterial> displayMaterialOf(const ModelMaterial& material) {
  auto display = std::make_unique<DvMaterial>();
  display->resetToDefaults();
  display->setColour(DvMaterial::Ambient, material.ambient);
  display->setColour(DvMaterial::Diffuse, material.diffuse);
  display->setColour(DvMaterial::Specular, material.specular);
  display->setColour(DvMaterial::Emissive, material.emissive);
  display->setShininess(material.shininess);
  display->setTransparency(material.transparency);
  return display;
}

} // namespace quillmere
