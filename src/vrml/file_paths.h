// Where the files a scene names are looked for: beside the file that names them.
#pragma once

#include <string>

namespace quillmere {

// The folder of a file's path: "." for a bare name, "/" for a file at the root.
std::string folderOf(const std::string& path);

// `name` as seen from `file`: an absolute name as it is, a relative one in
// the folder of `file` (unchanged when `file` is a bare name).
std::string pathBeside(const std::string& file, const std::string& name);

} // namespace quillmere
