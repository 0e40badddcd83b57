// Model files go through scene loading like scene files: opened directly
// (from their first camera) and named by a parameter file.
#include "app/scene_loading.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmere {
namespace {

TEST(ModelLoading, OpensModelsDirectlyFromTheirCameraAndFromParameterFiles) {
  const std::string cube = std::string(QUILLMERE_TEST_DATA) + "/scene/cube.gltf";
  EXPECT_TRUE(isSceneFile(cube));
  EXPECT_TRUE(isSceneFile("ship.GLB"));
  LoadedScene direct;
  ASSERT_EQ(loadScene(cube, direct), LoadResult::Loaded);
  // The file's camera "eye": at (0, 0, 8) looking along −z, at rest.
  EXPECT_EQ(direct.parameters.startPosition, Vector3(0, 0, 8));
  EXPECT_EQ(direct.parameters.flightDirection, Vector3(0, 0, -1));
  EXPECT_EQ(direct.parameters.startSpeed, 0.0f);

  // The fleet example's parameter file names its model beside it.
  LoadedScene flight;
  ASSERT_EQ(loadScene(std::string(QUILLMERE_EXAMPLES) + "/fleet.par", flight), LoadResult::Loaded);
  EXPECT_EQ(flight.parameters.startPosition, Vector3(0, 1, 0));
  EXPECT_GT(flight.root->getNumChildren(), 20);

}

} // namespace
} // namespace quillmere
