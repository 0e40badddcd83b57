#include "support/file_name.h"

#include <cctype>
#include <cstring>

namespace quillmere {

bool endsWithNoCase(const std::string& path, const char* lowerSuffix) {
  const std::size_t n = std::strlen(lowerSuffix);
  if (path.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(path[path.size() - n + i])) != lowerSuffix[i]) return false;
  return true;
}

} // namespace quillmere
