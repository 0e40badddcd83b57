// Whether a file the user named can be read, and if not, the system's reason
// in its own words ("No such file or directory", "Is a directory"), so that
// every message about an input file can say why.
#pragma once

#include <string>

namespace quillmere {

// Empty when `path` opens for reading and is not a directory; otherwise the
// system's reason.
std::string unreadableReason(const std::string& path);

} // namespace quillmere
