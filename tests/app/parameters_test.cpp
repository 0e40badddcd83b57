#include "app/parameters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace quillmere {
namespace {

// Writes `text` to a file of its own in the test's temporary directory.
std::string writeParameterFile(const std::string& text) {
  static int counter = 0;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string path = testing::TempDir() + "quillmere_" + test->name() + "_" + std::to_string(++counter) + ".qmp";
  std::ofstream(path) << text;
  return path;
}

struct ReadResult {
  bool ok;
  std::string printed;
};

ReadResult read(Parameters& parameters, const std::string& text) {
  std::string path = writeParameterFile(text);
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

void expectDefaultsFromStartSpeed(const Parameters& p) {
  EXPECT_FLOAT_EQ(p.startSpeed, 0.9f);
  EXPECT_FLOAT_EQ(p.startTime, 0.0f);
  EXPECT_FLOAT_EQ(p.timeStep, 0.1f);
  EXPECT_FLOAT_EQ(p.endTime, 100.0f);
  EXPECT_FLOAT_EQ(p.frameRate, 100.0f);
  EXPECT_FLOAT_EQ(p.lodScale, 1.0f);
  EXPECT_EQ(p.transformNormals, 1);
  EXPECT_EQ(p.lightCount, 1);
  expectVector(p.lightDirections[0], {1, 1, 0});
}

TEST(ParameterFile, ReadsEveryFieldInOrder) {
  Parameters defaults;
  EXPECT_TRUE(defaults.dataFileName.empty());
  expectVector(defaults.startPosition, {0, 0, 0});
  expectVector(defaults.flightDirection, {0, 0, 1});
  expectDefaultsFromStartSpeed(defaults);

  // Every value distinct, so a swapped or lost field shows.
  Parameters p;
  ReadResult result = read(p, "worlds/tower.wrl\n1 2 3\n4 5 6\n0.25 7 0.5 80 30 2.5\n0 2\n-1 0 0\n0 -2 1\n");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.printed, "");
  EXPECT_EQ(p.dataFileName, "worlds/tower.wrl");
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

  // Line breaks and tabs anywhere between the tokens change nothing.
  Parameters relaid;
  EXPECT_TRUE(read(relaid, "worlds/tower.wrl 1\n2\t3 4 5\n\n6 0.25 7 0.5\n80 30\n2.5 0 2 -1 0\n0 0 -2 1").ok);
  EXPECT_EQ(relaid.dataFileName, p.dataFileName);
  expectVector(relaid.flightDirection, p.flightDirection);
  EXPECT_FLOAT_EQ(relaid.lodScale, p.lodScale);
  expectVector(relaid.lightDirections[1], p.lightDirections[1]);

  // The example layout with the default values reproduces the defaults.
  Parameters example;
  EXPECT_TRUE(read(example, "scene.wrl\n0 0 0\n0 0 1\n0.9 0 0.1 100 100 1\n1 1\n1 1 0\n").ok);
  EXPECT_EQ(example.dataFileName, "scene.wrl");
  expectDefaultsFromStartSpeed(example);
}

TEST(ParameterFile, ReportsMissingRequiredValuesExactly) {
  Parameters p;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(readParameterFile(p, testing::TempDir() + "quillmere_no_such_file.qmp"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open parameter file\n");

  ReadResult empty = read(p, " \n\t\n");
  EXPECT_FALSE(empty.ok);
  EXPECT_EQ(empty.printed, "Parameter file: could not read data file name\n");
  EXPECT_TRUE(p.dataFileName.empty());

  ReadResult shortPosition = read(p, "a.wrl 1 2 x");
  EXPECT_FALSE(shortPosition.ok);
  EXPECT_EQ(shortPosition.printed, "Parameter file: could not read start position\n");
  expectVector(p.startPosition, {0, 0, 0}); // stored only when all three were read

  // Two numbers for the flight direction: name and position stay, direction keeps its default.
  Parameters q;
  ReadResult shortDirection = read(q, "b.wrl\n1 2 3\n4 5\n");
  EXPECT_FALSE(shortDirection.ok);
  EXPECT_EQ(shortDirection.printed, "Paramter file: could not read flight direction\n");
  EXPECT_EQ(q.dataFileName, "b.wrl");
  expectVector(q.startPosition, {1, 2, 3});
  expectVector(q.flightDirection, {0, 0, 1});
}

TEST(ParameterFile, WarnsAboutFirstUnreadableOptionalValue) {
  // Only name, position and direction: true, defaults, one warning naming startSpeed.
  Parameters p;
  ReadResult cut = read(p, "scene.wrl 1 2 3 0 1 0");
  EXPECT_TRUE(cut.ok);
  EXPECT_NE(cut.printed.find("could not read startSpeed in "), std::string::npos) << cut.printed;
  expectVector(p.flightDirection, {0, 1, 0});
  expectDefaultsFromStartSpeed(p);

  // A malformed time step: the values before it are kept, it and all after
  // it keep their defaults even though the file goes on.
  Parameters q;
  ReadResult typo = read(q, "scene.wrl 0 0 0 0 0 1  0.5 3 O.1 50 25 2  0 4");
  EXPECT_TRUE(typo.ok);
  EXPECT_EQ(typo.printed.find("Parameter file: could not read timeStep in "), 0u) << typo.printed;
  EXPECT_EQ(typo.printed.back(), '\n');
  EXPECT_FLOAT_EQ(q.startSpeed, 0.5f);
  EXPECT_FLOAT_EQ(q.startTime, 3.0f);
  EXPECT_FLOAT_EQ(q.timeStep, 0.1f);
  EXPECT_FLOAT_EQ(q.endTime, 100.0f);
  EXPECT_EQ(q.transformNormals, 1);
  EXPECT_EQ(q.lightCount, 1);

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
  ReadResult zero = read(none, "scene.wrl 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 0  7 7 7");
  EXPECT_TRUE(zero.ok);
  EXPECT_EQ(zero.printed, "");
  EXPECT_EQ(none.lightCount, 0);
  expectVector(none.lightDirections[0], {1, 1, 0}); // nothing read into it

  Parameters three;
  EXPECT_TRUE(read(three, "scene.wrl 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 3  1 0 0  0 2 0  0 0 3").ok);
  EXPECT_EQ(three.lightCount, 3);
  expectVector(three.lightDirections[0], {1, 0, 0});
  expectVector(three.lightDirections[1], {0, 2, 0});
  expectVector(three.lightDirections[2], {0, 0, 3});

  // Twelve lights: the first ten are stored, the other two read and dropped.
  std::string text = "scene.wrl 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 12\n";
  for (int i = 1; i <= 12; ++i) text += std::to_string(i) + " 0 0\n";
  Parameters many;
  ReadResult surplus = read(many, text);
  EXPECT_TRUE(surplus.ok);
  EXPECT_NE(surplus.printed.find("lightCount 12 in "), std::string::npos) << surplus.printed;
  EXPECT_EQ(surplus.printed.find("could not read"), std::string::npos) << surplus.printed;
  EXPECT_EQ(many.lightCount, 10);
  for (int i = 0; i < 10; ++i) expectVector(many.lightDirections[i], {float(i + 1), 0, 0});
}

TEST(ParameterFile, RejectsValuesThatCannotDescribeAFlight) {
  for (const char* speed : {"1", "1.5", "-0.1"}) {
    Parameters p;
    ReadResult result = read(p, std::string("scene.wrl 0 0 0 0 0 1 ") + speed + " 0 0.1 100 100 1  1 1  1 1 0");
    EXPECT_FALSE(result.ok) << speed;
    EXPECT_NE(result.printed.find(std::string("startSpeed ") + speed + " in "), std::string::npos) << result.printed;
    EXPECT_NE(result.printed.find("is not in [0, 1)\n"), std::string::npos) << result.printed;
    EXPECT_FLOAT_EQ(p.startSpeed, 0.9f);
  }
  Parameters rest;
  ReadResult atRest = read(rest, "scene.wrl 0 0 0 0 0 1 0 0 0.1 100 100 1  1 1  1 1 0");
  EXPECT_TRUE(atRest.ok); // starting at rest is fine
  EXPECT_EQ(atRest.printed, "");
  EXPECT_EQ(rest.startSpeed, 0.0f);

  Parameters still;
  ReadResult zero = read(still, "scene.wrl 1 2 3 0 0 0 0.5 0 0.1 100 100 1  1 1  1 1 0");
  EXPECT_FALSE(zero.ok);
  EXPECT_NE(zero.printed.find("flightDirection (0, 0, 0) in "), std::string::npos) << zero.printed;
  EXPECT_NE(zero.printed.find("cannot describe a flight\n"), std::string::npos) << zero.printed;
  expectVector(still.flightDirection, {0, 0, 1});
  expectVector(still.startPosition, {1, 2, 3});
}

TEST(ParameterFile, KeepsSceneFileNamesOfAnyLength) {
  std::string name(300, 'n');
  name += ".wrl";
  Parameters p;
  ReadResult result = read(p, name + " 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 1  1 1 0");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.printed, "");
  EXPECT_EQ(p.dataFileName, name);
  expectVector(p.flightDirection, {0, 0, 1});
}

} // namespace
} // namespace quillmere
