// The block transform against the scalar reference of lorentz.h.
#include "relativity/lorentz_block.h"

#include "relativity/lorentz.h"
#include "expect_vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quillmere {
namespace {

struct Record {
  Vector3 position;
  Vector3 normal;
};

MovingFrameState frameState(const Vector4d& event, float beta, const Vector3& direction) {
  MovingFrameState state;
  float gamma = 1.0f / std::sqrt(1.0f - beta * beta);
  state.set(event, Vector4(gamma * beta * direction.normalized(), gamma));
  return state;
}

// Vertices all round the observer with random normals, the last exactly on its event.
std::vector<Record> verticesAround(const MovingFrameState& frame, int count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> offset(-40.0f, 40.0f), unit(-1.0f, 1.0f);
  std::vector<Record> records(static_cast<std::size_t>(count));
  Vector3 observer = frame.event.spatial();
  for (Record& r : records) {
    r.position = observer + Vector3(offset(random), offset(random), offset(random));
    r.normal = Vector3(unit(random), unit(random), unit(random));
  }
  records.back().position = observer; // r = 0 when the event has no residual
  return records;
}

void expectBlockMatchesScalar(const MovingFrameState& frame, const std::vector<Record>& source) {
  const int count = int(source.size());
  std::vector<Record> target(source.size()), positionsOnly(source.size());
  std::vector<float> doppler(source.size());
  lightConeTransformVertices(frame, source.data(), target.data(), count, true, doppler.data());
  lightConeTransformVertices(frame, source.data(), positionsOnly.data(), count, false);
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    Vector3 position, normal;
    lightConeTransform(frame, source[std::size_t(i)].position, source[std::size_t(i)].normal, true, position, normal);
    expectClose(target[std::size_t(i)].position, position);
    expectClose(target[std::size_t(i)].normal, normal);
    expectClose(positionsOnly[std::size_t(i)].position, position);
    float factor = dopplerFactor(frame, source[std::size_t(i)].position);
    EXPECT_TRUE(std::isfinite(doppler[std::size_t(i)]));
    EXPECT_NEAR(doppler[std::size_t(i)], factor, 1e-5f * factor);
  }
}

TEST(LightConeTransformBlock, MatchesTheScalarTransformAllRoundTheObserverAndFarFromTheOrigin) {
  // 203 vertices: three whole blocks, a partial one, a run that is no multiple of the vector width.
  const float speeds[] = {0.0f, 0.3f, 0.9f, 0.999f};
  const Vector3 directions[] = {{0, 0, 1}, {1, -2, 0.5f}, {-0.3f, 0.1f, -1}};
  unsigned seed = 1;
  for (float beta : speeds)
    for (const Vector3& d : directions) {
      SCOPED_TRACE(beta);
      MovingFrameState frame = frameState(Vector4d(1.5, -2.0, 3.25, 7.0), beta, d);
      expectBlockMatchesScalar(frame, verticesAround(frame, 203, seed++));
    }
  // 10⁵ units out the event's float rounding leaves a residual, taken off as the scalar code does.
  MovingFrameState frame = frameState(Vector4d(1.0e5 + 0.123456789, -3.0e4 - 0.987654321, 2.5e4 + 0.5e-3, 1.0),
                                      0.8f, {0.2f, 1, -0.4f});
  ASSERT_NE(frame.eventLow.x, 0.0f);
  expectBlockMatchesScalar(frame, verticesAround(frame, 130, 99));
}

} // namespace
} // namespace quillmere
