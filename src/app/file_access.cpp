#include "app/file_access.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace quillmere {

std::string unreadableReason(const std::string& path) {
  // A directory opens for reading on Linux and fails only at the first read.
  struct stat status;
  if (::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::strerror(errno != 0 ? errno : ENOENT);
  std::fclose(file);
  return std::string();
}

} // namespace quillmere
