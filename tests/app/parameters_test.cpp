#include "app/parameters.h"

#include "../relativity/expect_vector.h"

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
  std::string path; // of the file read, now removed
};

// Writes `text` to a temporary file and reads it, capturing what is printed.
ReadResult read(Parameters& parameters, const std::string& text) {
  std::string path = testing::TempDir() + "quillmere_parameters_" +
                     testing::UnitTest::GetInstance()->current_test_info()->name() + ".qmp";
  std::ofstream(path) << text;
  testing::internal::CaptureStderr();
  bool ok = readParameterFile(parameters, path);
  std::string printed = testing::internal::GetCapturedStderr();
  std::remove(path.c_str());
  return {ok, printed, path};
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

// Each bad file ends the reading with false and exactly one message,
// "FILE:LINE: field: what was found", the line being where the value stands
// (or, for a missing one, where the file ends).
TEST(ParameterFile, NamesFileLineFieldAndValueOfEveryError) {
  struct Row {
    std::string text;
    std::string message; // after "FILE:"
  } rows[] = {
      {" \n\t\n", "1: dataFileName: missing (the file ends here)\n"},
      {"a.wrl 1 2 x", "1: startPosition: \"x\" is not a number\n"},
      {"b.wrl\n1 2 3\n4 5\n", "3: flightDirection: missing (the file ends here)\n"},
      {"b.wrl 1 2 3\n\n 0 0 0" + kDefaultTail, "3: flightDirection: (0, 0, 0) cannot describe a flight\n"},
      {"c.wrl 0 0 0 0 0 1\n1 0 0.1 100 100 1 1 0", "2: startSpeed: 1 is not in [0, 1)\n"},
      {"c.wrl 0 0 0 0 0 1 0.5 0 0 100 100 1 1 0",
       "1: timeStep: 0 is not above 0 (the flight would stand still or run backwards)\n"},
      {"c.wrl 0 0 0 0 0 1 0.5 10 0.1 5 100 1 1 0", "1: endTime: 5 is before the start time 10\n"},
      {"c.wrl 0 0 0 0 0 1 0.5 0 0.1 inf 100 1 1 0", "1: endTime: \"inf\" is not finite\n"},
      {"c.wrl 0 0 0 0 0 1 0.5 0 0.1 100 100 1 1.5 0", "1: transformNormals: \"1.5\" is not a whole number\n"},
      {"c.wrl 0 0 0 0 0 1 0.5 0 0.1 100 100 1 1 -1", "1: lightCount: -1 is negative\n"},
      {"c.wrl 0 0 0 0 0 1 0.5 0 0.1 100 100 1 1 1\n1 y 0", "2: lightDirections[0]: \"y\" is not a number\n"},
  };
  for (const Row& row : rows) {
    Parameters p;
    ReadResult result = read(p, row.text);
    EXPECT_FALSE(result.ok) << row.text;
    EXPECT_EQ(result.printed, result.path + ":" + row.message) << row.text;
  }

  // Values read before an error stay; the bad one keeps its default.
  Parameters q;
  EXPECT_FALSE(read(q, "b.wrl\n1 2 3\n4 5\n").ok);
  EXPECT_EQ(q.dataFileName, "b.wrl");
  expectVector(q.startPosition, {1, 2, 3});
  expectVector(q.flightDirection, {0, 0, 1});

  // A file that is not there, or is a folder, is named with the system's reason.
  std::string missing = testing::TempDir() + "quillmere_no_such_file.qmp";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(readParameterFile(q, missing));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Parameter file " + missing + ": No such file or directory\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(readParameterFile(q, testing::TempDir()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Parameter file " + testing::TempDir() + ": Is a directory\n");
}

TEST(ParameterFile, AFileCutShortKeepsTheDefaultsWithAWarning) {
  // Cut after the flight direction: true, defaults, a warning naming startSpeed.
  Parameters p;
  ReadResult cut = read(p, "scene.wrl 1 2 3\n0 1 0\n");
  EXPECT_TRUE(cut.ok);
  EXPECT_NE(cut.printed.find(":2: startSpeed: missing (the file ends here), keeping the defaults from here on\n"),
            std::string::npos)
      << cut.printed;
  EXPECT_FLOAT_EQ(p.startSpeed, 0.9f);
  EXPECT_EQ(p.lightCount, 1);

  // A missing light triple keeps its default and is named.
  Parameters r;
  ReadResult lights = read(r, "scene.wrl 0 0 0 0 0 1 0.9 0 0.1 100 100 1  1 2  0 0 -1  5 5");
  EXPECT_TRUE(lights.ok);
  EXPECT_NE(lights.printed.find("lightDirections[1]: missing"), std::string::npos) << lights.printed;
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
  EXPECT_NE(surplus.printed.find(":1: lightCount: 12 is more than 10"), std::string::npos) << surplus.printed;
  EXPECT_EQ(surplus.printed.find("missing"), std::string::npos) << surplus.printed;
  EXPECT_EQ(many.lightCount, 10);
  for (int i = 0; i < 10; ++i) expectVector(many.lightDirections[i], {float(i + 1), 0, -1});
}

} // namespace
} // namespace quillmere
