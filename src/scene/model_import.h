// Builds the display scene of a model file in one of today's formats (glTF
// 2.0 .gltf/.glb, Wavefront .obj, .ply, .stl, Collada .dae, .3ds, .fbx)
// read through Assimp: the same display nodes the scene-file conversion
// builds, in world coordinates (scene units; glTF's metres are scene units).
// Meshes become face sets (polygons), line sets and point sets; materials
// OpenGL materials (see model_material.h); base-colour textures texture
// nodes; the first camera the start view. A glTF file's quillmere extras
// (gltf_extras.h) give nodes frames of reference and materials relativistic
// materials. Animations, skins, morph targets and lights are not read.
#pragma once

#include "scene/scene_conversion.h"

#include <string>

namespace quillmere {

class DvGroup;

// True when `path` ends (in any case) in one of the model formats above.
bool isModelFile(const std::string& path);

// Appends to `sceneRoot` the default material, the rest frame and the
// model's display nodes, within the options' vertex budget and edge length;
// relative texture names are looked up beside the model (options.sceneFolder)
// first. A file Assimp cannot read, or bad extras, make the result not ok,
// with a message that names the file (and the node or material).
ConversionResult importModel(const std::string& path, DvGroup& sceneRoot, const ConversionOptions& options);

// The same for a model file's bytes in memory (the fuzz target): `hint` is
// the format's extension ("gltf", "glb", "obj", …). glTF extras are read
// from the bytes too. Textures are looked up only as embedded pictures.
ConversionResult importModelFromMemory(const unsigned char* bytes, std::size_t size, const char* hint,
                                       DvGroup& sceneRoot, const ConversionOptions& options);

} // namespace quillmere
