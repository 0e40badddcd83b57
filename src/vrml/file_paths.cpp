#include "vrml/file_paths.h"

namespace quillmere {

std::string folderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string pathBeside(const std::string& file, const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  const std::string::size_type slash = file.rfind('/');
  return slash == std::string::npos ? name : file.substr(0, slash + 1) + name;
}

} // namespace quillmere
