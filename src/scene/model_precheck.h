// Checks made on a model file's bytes before Assimp reads them, for
// damage its readers do not survive: Assimp 5.2's PLY reader loops without
// end on a header that never ends. Only what such a reader needs is
// checked; everything else is left to the reader and its messages.
#pragma once

#include <cstddef>
#include <string>

namespace quillmere {

// The first bytes of a file that the checks read (a header must end within them).
constexpr std::size_t kPrecheckBytes = 1 << 20;

// False, with `error` saying what is wrong, when the bytes (the file's
// start, at most kPrecheckBytes) of a model in the format of `extension`
// ("ply", "obj", …, lower case) cannot be handed to Assimp.
bool precheckModel(const unsigned char* bytes, std::size_t size, const std::string& extension, std::string& error);

// The same for a file, reading its first kPrecheckBytes; true for a file
// that cannot be read (Assimp then says so).
bool precheckModelFile(const std::string& path, const std::string& extension, std::string& error);

} // namespace quillmere
