#include "relativity/matrix.h"

#include "expect_vector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillmere {
namespace {

// Each basis vector's image against Rodrigues' formula
// v' = v·cos θ + (a × v)·sin θ + a·(a·v)·(1 − cos θ), written with vector
// operations; quarter turns and oblique axes. Tolerance: float entries of O(1).
TEST(Matrix4Rotation, EveryBasisVectorFollowsRodrigues) {
  struct Case {
    Vector3 axis;
    float angle;
  };
  const Case cases[] = {{{0, 0, 1}, float(M_PI / 2)}, {{1, 0, 0}, float(M_PI / 2)}, {{0, 1, 0}, float(M_PI / 2)},
                        {{1, -2, 3}, 0.7f},          {{-0.5f, 4, 1}, -2.1f}};
  const Vector3 basis[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (const Case& c : cases) {
    const Matrix4 rotation = Matrix4::rotation(c.axis.x, c.axis.y, c.axis.z, c.angle);
    const Vector3 a = c.axis.normalized();
    const float cosine = std::cos(c.angle), sine = std::sin(c.angle);
    for (const Vector3& v : basis) {
      SCOPED_TRACE(testing::Message() << "axis " << c.axis << ", angle " << c.angle << ", v " << v);
      const Vector3 expected = cosine * v + sine * cross(a, v) + ((1 - cosine) * dot(a, v)) * a;
      expectVector(rotation.transformPoint(v), expected, 1e-5f);
    }
  }
  // The right-hand rule in whole numbers: a quarter turn about z takes y to −x.
  expectVector(Matrix4::rotation(0, 0, 1, float(M_PI / 2)).transformPoint({0, 1, 0}), {-1, 0, 0}, 1e-6f);
}

} // namespace
} // namespace quillmere
