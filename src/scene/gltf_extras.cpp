#include "scene/gltf_extras.h"

#include "support/file_name.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>

namespace quillmere {

namespace {

using nlohmann::json;

// No glTF JSON we accept is larger; a bigger file is not read into memory.
constexpr long long kMaxJsonBytes = 256LL << 20;
constexpr std::uint32_t kGlbMagic = 0x46546C67;     // "glTF"
constexpr std::uint32_t kJsonChunkType = 0x4E4F534A; // "JSON"

std::uint32_t littleEndian32(const unsigned char* bytes) {
  return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
         std::uint32_t(bytes[3]) << 24;
}

// The JSON text of a .gltf file, or of a .glb's first chunk (which must be JSON).
bool readJsonText(const std::string& path, std::string& text, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  struct stat status;
  const bool regular = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
  long long size = regular ? status.st_size : 0;
  long long offset = 0;
  if (regular && isGltfFile(path) && endsWithNoCase(path, ".glb")) {
    unsigned char header[20];
    if (std::fread(header, 1, sizeof header, file) != sizeof header || littleEndian32(header) != kGlbMagic ||
        littleEndian32(header + 16) != kJsonChunkType) {
      std::fclose(file);
      error = path + ": not a binary glTF file with a JSON chunk";
      return false;
    }
    offset = 20;
    size = std::min<long long>(littleEndian32(header + 12), size - offset);
  }
  if (!regular || size <= 0 || size > kMaxJsonBytes) {
    std::fclose(file);
    error = path + ": no glTF JSON of a size we read (up to 256 MB)";
    return false;
  }
  text.resize(std::size_t(size));
  const std::size_t read = std::fread(&text[0], 1, text.size(), file);
  std::fclose(file);
  text.resize(read);
  return true;
}

// What a node or material is called in messages: its name, else its number.
std::string label(const char* what, const std::string& name, std::size_t index) {
  return name.empty() ? std::string(what) + " " + std::to_string(index) : std::string(what) + " \"" + name + "\"";
}

bool finiteNumber(const json& value, float& out) {
  if (!value.is_number()) return false;
  const double number = value.get<double>();
  if (!std::isfinite(number) || std::fabs(number) > 3.0e38) return false;
  out = float(number);
  return true;
}

bool vector3Of(const json& value, Vector3& out) {
  if (!value.is_array() || value.size() != 3) return false;
  for (int i = 0; i < 3; ++i)
    if (!finiteNumber(value[std::size_t(i)], out[i])) return false;
  return true;
}

bool floatListOf(const json& value, std::vector<float>& out) {
  if (!value.is_array() || value.size() > 100000) return false;
  out.resize(value.size());
  for (std::size_t i = 0; i < value.size(); ++i)
    if (!finiteNumber(value[i], out[i])) return false;
  return true;
}

// A frame's extras: both fields optional (a missing one is zero), each
// three finite numbers; the speed below light speed.
bool readFrame(const json& quillmere, const std::string& who, GltfFrameExtras& frame, std::string& error) {
  for (const char* field : {"velocity", "translation"}) {
    if (!quillmere.contains(field)) continue;
    Vector3& target = std::strcmp(field, "velocity") == 0 ? frame.velocity : frame.translation;
    if (!vector3Of(quillmere[field], target)) {
      error = who + ": quillmere " + field + " must be three finite numbers";
      return false;
    }
    frame.given = true;
  }
  const Vector3& v = frame.velocity;
  const double speed = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
  if (!(speed < 1.0)) {
    char message[160];
    std::snprintf(message, sizeof message, ": quillmere velocity (%g, %g, %g) has speed %.3f; a frame must move slower than light",
                  double(v.x), double(v.y), double(v.z), speed);
    error = who + message;
    return false;
  }
  return true;
}

// One number field of a material kind: absent keeps the default; present
// it must be finite and, for amounts, not negative.
bool amountField(const json& kind, const char* field, float& target, const std::string& who, const char* kindName,
                 std::string& error) {
  if (!kind.contains(field)) return true;
  float value;
  if (!finiteNumber(kind[field], value)) {
    error = who + ": quillmere " + kindName + " " + field + " must be a finite number";
    return false;
  }
  if (value < 0.0f) {
    error = who + ": quillmere " + kindName + " " + field + " " + std::to_string(value) + " is negative";
    return false;
  }
  target = value;
  return true;
}

bool readPlanck(const json& planck, const std::string& who, GltfMaterialExtras& material, std::string& error) {
  if (planck.contains("temperature") && !finiteNumber(planck["temperature"], material.temperature)) {
    error = who + ": quillmere planck temperature must be a finite number";
    return false;
  }
  if (material.temperature <= 0.0f) {
    char message[120];
    std::snprintf(message, sizeof message, ": quillmere planck temperature %g K is not above absolute zero",
                  double(material.temperature));
    error = who + message;
    return false;
  }
  return amountField(planck, "strength", material.strength, who, "planck", error);
}

bool readSampled(const json& sampled, const std::string& who, GltfMaterialExtras& material, std::string& error) {
  std::vector<float>* lists[3] = {&material.ambientSamples, &material.diffuseSamples, &material.specularSamples};
  const char* names[3] = {"ambient", "diffuse", "specular"};
  for (int i = 0; i < 3; ++i) {
    if (sampled.contains(names[i]) && !floatListOf(sampled[names[i]], *lists[i])) {
      error = who + ": quillmere sampled " + names[i] + " must be a list of finite numbers";
      return false;
    }
  }
  return true;
}

bool readRgb(const json& rgb, const std::string& who, GltfMaterialExtras& material, std::string& error) {
  Vector3* colours[3] = {&material.ambientColor, &material.diffuseColor, &material.specularColor};
  const char* names[3] = {"ambientColor", "diffuseColor", "specularColor"};
  for (int i = 0; i < 3; ++i) {
    if (rgb.contains(names[i]) && !vector3Of(rgb[names[i]], *colours[i])) {
      error = who + ": quillmere rgb " + names[i] + " must be three finite numbers";
      return false;
    }
  }
  return true;
}

// Exactly one kind, as an object of its fields.
bool readMaterial(const json& quillmere, const std::string& who, GltfMaterialExtras& material, std::string& error) {
  const char* kinds[4] = {"constant", "planck", "sampled", "rgb"};
  for (int k = 0; k < 4; ++k) {
    if (!quillmere.contains(kinds[k])) continue;
    if (material.kind != GltfRelMaterialKind::None) {
      error = who + ": quillmere gives more than one relativistic material";
      return false;
    }
    const json& fields = quillmere[kinds[k]];
    if (!fields.is_object()) {
      error = who + ": quillmere " + kinds[k] + " must be an object";
      return false;
    }
    material.kind = GltfRelMaterialKind(k + 1);
    bool ok = true;
    switch (material.kind) {
    case GltfRelMaterialKind::Constant:
      ok = amountField(fields, "ambient", material.ambient, who, "constant", error) &&
           amountField(fields, "diffuse", material.diffuse, who, "constant", error) &&
           amountField(fields, "specular", material.specular, who, "constant", error);
      break;
    case GltfRelMaterialKind::Planck: ok = readPlanck(fields, who, material, error); break;
    case GltfRelMaterialKind::Sampled: ok = readSampled(fields, who, material, error); break;
    case GltfRelMaterialKind::Rgb: ok = readRgb(fields, who, material, error); break;
    case GltfRelMaterialKind::None: break;
    }
    if (!ok) return false;
  }
  return true;
}

// The "quillmere" object of an element's extras; null when it has none.
// False when it is there but not an object.
bool quillmereExtras(const json& element, const std::string& who, const json*& quillmere, std::string& error) {
  quillmere = nullptr;
  if (!element.is_object() || !element.contains("extras")) return true;
  const json& extras = element["extras"];
  if (!extras.is_object() || !extras.contains("quillmere")) return true;
  quillmere = &extras["quillmere"];
  if (quillmere->is_object()) return true;
  error = who + ": quillmere extras must be an object";
  return false;
}

std::string nameOf(const json& element) {
  if (element.is_object() && element.contains("name") && element["name"].is_string())
    return element["name"].get<std::string>();
  return std::string();
}

bool readNodes(const json& document, GltfExtras& extras, std::string& error) {
  if (!document.contains("nodes") || !document["nodes"].is_array()) return true;
  const json& nodes = document["nodes"];
  extras.nodes.resize(nodes.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    GltfNodeInfo& info = extras.nodes[i];
    info.name = nameOf(nodes[i]);
    if (nodes[i].is_object() && nodes[i].contains("children") && nodes[i]["children"].is_array())
      for (const json& child : nodes[i]["children"])
        if (child.is_number_integer() && child.get<long long>() >= 0 && child.get<long long>() < (long long)nodes.size())
          info.children.push_back(int(child.get<long long>()));
    const std::string who = label("glTF node", info.name, i);
    const json* quillmere;
    if (!quillmereExtras(nodes[i], who, quillmere, error)) return false;
    if (quillmere && !readFrame(*quillmere, who, info.frame, error)) return false;
  }
  return true;
}

bool readMaterials(const json& document, GltfExtras& extras, std::string& error) {
  if (!document.contains("materials") || !document["materials"].is_array()) return true;
  const json& materials = document["materials"];
  extras.materials.resize(materials.size());
  extras.materialNames.resize(materials.size());
  for (std::size_t i = 0; i < materials.size(); ++i) {
    extras.materialNames[i] = nameOf(materials[i]);
    const std::string who = label("glTF material", extras.materialNames[i], i);
    const json* quillmere;
    if (!quillmereExtras(materials[i], who, quillmere, error)) return false;
    if (quillmere && !readMaterial(*quillmere, who, extras.materials[i], error)) return false;
  }
  return true;
}

void readSceneRoots(const json& document, GltfExtras& extras) {
  if (!document.contains("scenes") || !document["scenes"].is_array() || document["scenes"].empty()) return;
  std::size_t scene = 0;
  if (document.contains("scene") && document["scene"].is_number_integer() && document["scene"].get<long long>() >= 0 &&
      std::size_t(document["scene"].get<long long>()) < document["scenes"].size())
    scene = std::size_t(document["scene"].get<long long>());
  const json& chosen = document["scenes"][scene];
  if (!chosen.is_object() || !chosen.contains("nodes") || !chosen["nodes"].is_array()) return;
  for (const json& root : chosen["nodes"])
    if (root.is_number_integer() && root.get<long long>() >= 0 && root.get<long long>() < (long long)extras.nodes.size())
      extras.sceneRoots.push_back(int(root.get<long long>()));
}

} // namespace

bool isGltfFile(const std::string& path) { return endsWithNoCase(path, ".gltf") || endsWithNoCase(path, ".glb"); }

bool parseGltfExtras(const std::string& text, GltfExtras& extras, std::string& error) {
  extras = GltfExtras();
  try {
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
      error = "the glTF JSON does not parse";
      return false;
    }
    if (!readNodes(document, extras, error) || !readMaterials(document, extras, error)) return false;
    readSceneRoots(document, extras);
    return true;
  } catch (const std::exception& failure) {
    // Depth, memory: whatever the library could not handle ends the read.
    error = std::string("the glTF JSON could not be read: ") + failure.what();
    return false;
  }
}

bool readGltfExtrasFromBytes(const unsigned char* bytes, std::size_t size, GltfExtras& extras, std::string& error) {
  std::size_t offset = 0;
  if (size >= 12 && littleEndian32(bytes) == kGlbMagic) {
    if (size < 20 || littleEndian32(bytes + 16) != kJsonChunkType) {
      error = "not a binary glTF file with a JSON chunk";
      return false;
    }
    offset = 20;
    size = std::min<std::size_t>(littleEndian32(bytes + 12), size - offset);
  }
  return parseGltfExtras(std::string(reinterpret_cast<const char*>(bytes) + offset, size), extras, error);
}

bool readGltfExtras(const std::string& path, GltfExtras& extras, std::string& error) {
  std::string text;
  if (!readJsonText(path, text, error)) return false;
  if (parseGltfExtras(text, extras, error)) return true;
  error = path + ": " + error;
  return false;
}

} // namespace quillmere
