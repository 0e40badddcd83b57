#include "relativity/vector.h"

namespace quillmere {

std::ostream& operator<<(std::ostream& stream, const Vector3& v) {
  return stream << "(" << v.x << "," << v.y << "," << v.z << ")";
}

} // namespace quillmere
