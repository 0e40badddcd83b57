// What a file's name says about its kind.
#pragma once

#include <string>

namespace quillmere {

// Whether `path` ends with `lowerSuffix` (given in lower case), in any case:
// "Model.GLB" ends with ".glb".
bool endsWithNoCase(const std::string& path, const char* lowerSuffix);

} // namespace quillmere
