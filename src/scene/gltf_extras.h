// The relativistic extras of a glTF file, read from its JSON (a .glb's JSON
// chunk): a node's {"quillmere": {"velocity": [vx, vy, vz], "translation":
// [x, y, z]}} gives it (and its subtree) a frame of reference of its own; a
// material's {"quillmere": {"planck": {...}}} (or "constant", "sampled",
// "rgb") a relativistic material. Velocities are fractions of light speed,
// translations scene units (metres), temperatures kelvin. Also the node
// hierarchy with names, so the importer can match Assimp's nodes to the
// file's. Animation, skins and other extensions are not read.
#pragma once

#include "relativity/vector.h"

#include <string>
#include <vector>

namespace quillmere {

struct GltfFrameExtras {
  bool given = false; // the node names a frame of its own
  Vector3 velocity;   // fractions of c, |v| < 1
  Vector3 translation; // scene units, as a RELframe's translation
};

enum class GltfRelMaterialKind { None, Constant, Planck, Sampled, Rgb };

// The fields of the RELmaterial node of the same kind, under the same
// names and with the same defaults.
struct GltfMaterialExtras {
  GltfRelMaterialKind kind = GltfRelMaterialKind::None;
  float ambient = 0, diffuse = 0.2f, specular = 0;   // constant: factors (≥ 0)
  float temperature = 5760, strength = 1;            // planck: kelvin (> 0), strength (≥ 0)
  std::vector<float> ambientSamples, diffuseSamples, specularSamples; // sampled: values over 380..780 nm; none: 0
  Vector3 ambientColor, diffuseColor{0.2f, 0.2f, 0.2f}, specularColor; // rgb
};

struct GltfNodeInfo {
  std::string name;       // empty when the file gives none
  std::vector<int> children;
  GltfFrameExtras frame;
};

struct GltfExtras {
  std::vector<GltfNodeInfo> nodes;           // in the file's order
  std::vector<int> sceneRoots;               // the default scene's root nodes
  std::vector<std::string> materialNames;    // in the file's order
  std::vector<GltfMaterialExtras> materials; // in the file's order
};

// True when `path` ends in .gltf or .glb (any case).
bool isGltfFile(const std::string& path);

// Reads the file's JSON (for a .glb, its JSON chunk) and its extras. False,
// with `error` naming what is wrong (and the node or material by name or
// number), for JSON that does not parse or extras that cannot be.
bool readGltfExtras(const std::string& path, GltfExtras& extras, std::string& error);
// The same for a .gltf's or .glb's bytes already in memory.
bool readGltfExtrasFromBytes(const unsigned char* bytes, std::size_t size, GltfExtras& extras, std::string& error);
// The same for JSON text already in memory.
bool parseGltfExtras(const std::string& json, GltfExtras& extras, std::string& error);

} // namespace quillmere
