// A model file's material (as Assimp hands it over) as our OpenGL material.
// Fixed-function lighting has no image-based reflections, so physically
// based materials are approximated:
//   diffuse      = base colour (else diffuse colour; else 0.8 grey) × (1 − metallic/2):
//                  a metal keeps half its colour as diffuse, or it would draw black;
//   ambient      = diffuse / 4 (VRML's default ratio 0.2 : 0.8);
//   specular     = mix(0.04, base colour, metallic) × (1 − roughness);
//   shininess    = (1 − roughness)², so OpenGL's exponent is 128 (1 − roughness)²;
//   without metallic and roughness (OBJ, PLY, STL, Collada, 3DS, FBX): the
//   file's specular colour, shininess = Phong exponent / 128 (at most 1); no
//   exponent: no specular part;
//   emissive     = emissive colour × emissive intensity;
//   transparency = 1 − opacity × base colour alpha (glTF's OPAQUE mode: 0).
// Colours are clamped to 0..1; numbers that are not finite count as absent.
#pragma once

#include "display/material.h"
#include "relativity/vector.h"

#include <memory>
#include <string>

struct aiMaterial;

namespace quillmere {

struct ModelMaterial {
  Vector3 ambient, diffuse{0.8f, 0.8f, 0.8f}, specular, emissive;
  float shininess = 0;          // 0..1 as DvMaterial takes it
  float transparency = 0;       // 0 opaque
  bool twoSided = false;        // the file says both sides show
  bool twoSidedGiven = false;   // the file said either way
  std::string texture;          // base-colour (else diffuse) texture: a file name, or "*n" for embedded picture n
  int wrapS = 0, wrapT = 0;     // 0 repeat, 1 clamp
};

ModelMaterial modelMaterialOf(const aiMaterial& material);

// A display material with every field set (none ignored).
std::unique_ptr<DvMaterial> displayMaterialOf(const ModelMaterial& material);

} // namespace quillmere
