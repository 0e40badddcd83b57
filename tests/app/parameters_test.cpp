#include "app/parameters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace quillmere {
namespace {

// The values after the flight direction, all at their defaults, and one light.
const std::string kDefaultTail = " 0.9 0 0.1 100 100 1  1 1  1 1 0";

struct ReadResult {
  bool ok;
  std::string printed;
};

// Writes `text` to a temporary file and reads it, capturing what is printed.
ReadResult read(Parameters& parameters, const std::string& text) {
  std::string path = testing::TempDir() + "quillmere_parameters_" +
                     testing::UnitTest::GetInstance()->current_test_info()->name() + ".qmp";
  std::ofstream(path) << text;
  testing::internal::CaptureStdout();
  bool ok = readParameterFile(parameters, path);
  std::string printed = testing::internal::GetCapturedStdout();
  std::remove(path.c_str());
  return {ok, printed};
}

void expectVector(const Vector3& actual, const Vector3& expected) {
  EXPECT_FLOAT_EQ(actual.x, expected.x);
  EXPECT_FLOAT_EQ(actual.y, expected.y);
  EXPECT_FLOAT_EQ(actual.z, expected.z);
}

TEST(ParameterFile, ReadsEveryFieldInOrder) {
  // Every value distinct, so a swapped or lost field shows; line breaks and
  // tabs between tokens do not matter; the scene file name has any length.
  std::string name = "worlds/" + std::string(300, 't') + ".wrl";
  Parameters p;
  ReadResult result = read(p, name + " 1\n2\t3\n4 5 6\n0.25 7 0.5 80 30 2.5\n\n0 2 -1 0 0\n0 -2 1");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.printed, "");
  EXPECT_EQ(p.dataFileName, name);
  expectVector(p.startPosition, {1, 2, 3});
  expectVector(p.flightDirection, {4, 5, 6});
  EXPECT_FLOAT_EQ(p.startSpeed, 0.25f);
  EXPECT_FLOAT_EQ(p.startTime, 7.0f);
  EXPECT_FLOAT_EQ(p.timeStep, 0.5f);
  EXPECT_FLOAT_EQ(p.endTime, 80.0f);
  EXPECT_FLOAT_EQ(p.frameRate, 30.0f);
  EXPECT_FLOAT_EQ(p.lodScale, 2.5f);
  EXPECT_EQ(p.transformNormals, 0);
  EXPECT_EQ(p.lightCount, 2);
  expectVector(p.lightDirections[0], {-1, 0, 0});
  expectVector(p.lightDirections[1], {0, -2, 1});
}

TEST(ParameterFile, ReportsMissingRequiredValuesExactly) {
  Parameters p;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(readParameterFile(p, testing::TempDir() + "quillmere_no_such_file.qmp"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open parameter file\n");
  EXPECT_EQ(read(p, " \n\t\n").printed, "Parameter file: could not read data file name\n");
  ReadResult shortPosition = read(p, "a.wrl 1 2 x");
  EXPECT_FALSE(shortPosition.ok);
  EXPECT_EQ(shortPosition.printed, "Parameter file: could not read start position\n");
  expectVector(p.startPosition, {0, 0, 0}); // stored only when all three were read

  // Two numbers for the flight direction: name and position stay, the direction keeps its default.
  Parameters q;
  ReadResult shortDirection = read(q, "b.wrl\n1 2 3\n4 5\n");
  EXPECT_FALSE(shortDirection.ok);
  EXPECT_EQ(shortDirection.printed, "Paramter file: could not read flight direction\n");
  EXPECT_EQ(q.dataFileName, "b.wrl");
  expectVector(q.startPosition, {1, 2, 3});
  expectVector(q.flightDirection, {0, 0, 1});
}

TEST(ParameterFile, WarnsAboutFirstUnreadableOptionalValue) {
  // Cut after the flight direction: true, defaults, a warning naming startSpeed.
  Parameters p;
  ReadResult cut = read(p, "scene.wrl 1 2 3 0 1 0");
  EXPECT_TRUE(cut.ok);
  EXPECT_EQ(cut.printed.find("Parameter file: could not read startSpeed in "), 0u) << cut.printed;
  EXPECT_FLOAT_EQ(p.startSpeed, 0.9f);
  EXPECT_EQ(p.lightCount, 1);

  // A typo in the time step: earlier values kept, it and all later ones default.
  Parameters q;
  ReadResult typo = read(q, "scene.wrl 0 0 0 0 0 1  0.5 3 O.1 50 25 2  0 4");
  EXPECT_TRUE(typo.ok);
  EXPECT_NE(typo.printed.find("could not read timeStep in "), std::string::npos) << typo.printed;
  EXPECT_FLOAT_EQ(q.startTime, 3.0f);
  EXPECT_FLOAT_EQ(q.timeStep, 0.1f);
  EXPECT_FLOAT_EQ(q.endTime, 100.0f);
  EXPECT_EQ(q.transformNormals, 1);

  // A missing light triple keeps its default and is named.
  Parameters r;
  ReadResult lights = read(r, "scene.wrl 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 2  0 0 -1  5 5");
  EXPECT_TRUE(lights.ok);
  EXPECT_NE(lights.printed.find("could not read lightDirections[1] in "), std::string::npos) << lights.printed;
  expectVector(r.lightDirections[0], {0, 0, -1});
  expectVector(r.lightDirections[1], {0, 0, 0});
}

TEST(ParameterFile, ReadsOnlyTheLightsAskedFor) {
  Parameters none;
  EXPECT_EQ(read(none, "scene.wrl 0 0 0  0 0 1  0.9 0 0.1 100 100 1  1 0  7 7 7").printed, "");
  EXPECT_EQ(none.lightCount, 0);
  expectVector(none.lightDirections[0], {1, 1, 0});

  // Twelve lights: the first ten are stored in file order, two read and dropped.
  std::string text = "scene.wrl 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 12\n";
  for (int i = 1; i <= 12; ++i) text += std::to_string(i) + " 0 -1\n";
  Parameters many;
  ReadResult surplus = read(many, text);
  EXPECT_TRUE(surplus.ok);
  EXPECT_NE(surplus.printed.find("lightCount 12 in "), std::string::npos) << surplus.printed;
  EXPECT_EQ(surplus.printed.find("could not read"), std::string::npos) << surplus.printed;
  EXPECT_EQ(many.lightCount, 10);
  for (int i = 0; i < 10; ++i) expectVector(many.lightDirections[i], {float(i + 1), 0, -1});
}

TEST(ParameterFile, RejectsValuesThatCannotDescribeAFlight) {
  for (const char* speed : {"1", "-0.1"}) {
    Parameters p;
    ReadResult result = read(p, std::string("scene.wrl 0 0 0 0 0 1 ") + speed + " 0 0.1 100 100 1  1 1  1 1 0");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.printed.find(std::string("startSpeed ") + speed + " in "), std::string::npos);
    EXPECT_NE(result.printed.find("is not in [0, 1)\n"), std::string::npos) << result.printed;
    EXPECT_FLOAT_EQ(p.startSpeed, 0.9f);
  }

  Parameters still;
  ReadResult zero = read(still, "scene.wrl 1 2 3  0 0 0" + kDefaultTail);
  EXPECT_FALSE(zero.ok);
  EXPECT_NE(zero.printed.find("flightDirection (0, 0, 0) in "), std::string::npos) << zero.printed;
  EXPECT_NE(zero.printed.find("cannot describe a flight\n"), std::string::npos) << zero.printed;
  expectVector(still.flightDirection, {0, 0, 1});
}

} // namespace
} // namespace quillmere
