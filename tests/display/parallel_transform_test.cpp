// The per-vertex transform of large sets on several threads: the light cone
// as the scalar reference computes it, and the snapshot methods unchanged.
#include "../relativity/expect_vector.h"
#include "display/group.h"
#include "display/indexed_face_set.h"
#include "relativity/lorentz.h"
#include "relativity/observer.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <memory>
#include <random>
#include <vector>

namespace quillmere {
namespace {

constexpr int kPoints = 10007; // well above the serial limit, and not a whole number of runs

// Random points all round an observer near (1, 2, 3), with random normals,
// as triangles; point 0 sits exactly on the observer.
struct RandomCloud {
  std::vector<float> points, normals;
  std::vector<std::int32_t> coordIndex;

  RandomCloud() : points(3 * kPoints), normals(3 * kPoints) {
    std::mt19937 random(12);
    std::uniform_real_distribution<float> offset(-30.0f, 30.0f), unit(-1.0f, 1.0f);
    for (int i = 0; i < 3 * kPoints; ++i) {
      points[std::size_t(i)] = offset(random);
      normals[std::size_t(i)] = unit(random);
    }
    points[0] = 1.0f, points[1] = 2.0f, points[2] = 3.0f;
    for (int i = 0; i + 2 < kPoints; i += 3) coordIndex.insert(coordIndex.end(), {i, i + 1, i + 2, -1});
  }

  std::unique_ptr<DvIndexedFaceSet> faceSet() const {
    FaceSetSource source;
    source.points = reinterpret_cast<const float(*)[3]>(points.data());
    source.pointCount = kPoints;
    source.normals = reinterpret_cast<const float(*)[3]>(normals.data());
    source.normalCount = kPoints;
    source.coordIndex = coordIndex.data();
    source.coordIndexCount = long(coordIndex.size());
    return std::make_unique<DvIndexedFaceSet>(source);
  }
};

// The transformed array and the Doppler factors of one transform.
struct Result {
  std::vector<DvVertex> vertices;
  std::vector<float> doppler;
};

Result transformWith(DvGroup& root, DvVertexSet& set, const RelObserver& observer, DvRenderState& state,
                     int threads) {
  state.threads = threads;
  FrameHolder holder;
  root.relativisticTransform(observer, state, DrawPass(state), holder);
  Result result;
  result.vertices.assign(set.transformedVertices(0), set.transformedVertices(0) + set.vertexCount());
  for (int i = 0; i < set.vertexCount(); ++i) result.doppler.push_back(set.dopplerFactor(i));
  return result;
}

DvRenderState spectralState(int method) {
  DvRenderState state;
  state.softwareShading = 1; // the Doppler factors too
  state.colourShift = ColourShift::Doppler;
  state.transformMethod = TransformMethod(method); // 0 light cone, 1 snapshot then light cone, 2 snapshot
  return state;
}

TEST(ParallelTransform, EachMethodMatchesTheScalarFormulas) {
  // Resting in the world: the state is the observer's own, and point 0 lies
  // exactly on its event.
  RandomCloud cloud;
  DvGroup root;
  auto* faces = static_cast<DvIndexedFaceSet*>(root.append(cloud.faceSet()));
  RelObserver observer(1, 2, 3, 0, 0.9f, 0.3f, -0.2f, 1);
  observer.snapshot();
  observer.setSpeed(0.7f); // the snapshot and the light cone now differ
  FrameTransformation rest;
  rest.update(observer);
  const MovingFrameState& frame = rest.state();
  ASSERT_EQ(frame.event.spatial().x, 1.0f);

  for (int method = 0; method < 3; ++method) {
    SCOPED_TRACE(method);
    DvRenderState state = spectralState(method);
    Result result = transformWith(root, *faces, observer, state, 7); // 10007 is no multiple of 7
    for (int i = 0; i < kPoints; ++i) {
      SCOPED_TRACE(i);
      const DvVertex& source = faces->vertices()[i];
      const DvVertex& actual = result.vertices[std::size_t(i)];
      Vector3 position, normal = source.normal;
      if (method == 0) {
        lightConeTransform(frame, source.position, source.normal, true, position, normal);
        expectClose(actual.position, position);
        expectClose(actual.normal, normal);
      } else {
        // The snapshot methods keep the scalar code, vertex by vertex.
        snapshotTransform(observer, source.position, source.normal, true, position, normal);
        if (method == 1) lightConeTransform(frame, position, normal, true, position, normal);
        // The snapshot alone gives world coordinates; the sets keep positions
        // relative to the eye (at (1, 2, 3)), as the light cone does.
        if (method == 2) position = position - observer.eyeEvent().spatial();
        EXPECT_FLOAT_EQ(actual.position.x, position.x);
        EXPECT_FLOAT_EQ(actual.position.y, position.y);
        EXPECT_FLOAT_EQ(actual.position.z, position.z);
        EXPECT_FLOAT_EQ(actual.normal.x, normal.x);
        EXPECT_FLOAT_EQ(actual.normal.y, normal.y);
        EXPECT_FLOAT_EQ(actual.normal.z, normal.z);
      }
      float factor = dopplerFactor(frame, source.position);
      EXPECT_NEAR(result.doppler[std::size_t(i)], factor, 1e-5f * factor);
      if (HasFailure()) return; // one vertex's report is enough
    }
    EXPECT_NEAR(result.doppler[0], frame.gamma, 1e-5f * frame.gamma); // on the observer: no NaN
  }
}

} // namespace
} // namespace quillmere
