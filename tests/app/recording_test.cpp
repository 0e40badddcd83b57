// Recording without a display: the movie writer's failures, and a flight's frame count.
#include "app/parameters.h"
#include "app/recording/frame_range.h"
#include "app/recording/movie_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillmere {
namespace {

namespace fs = std::filesystem;

// Opens a movie, returning what it printed on standard error ("" when it opened).
std::string openFailure(const std::string& path, const MovieSettings& settings) {
  MovieWriter writer;
  testing::internal::CaptureStderr();
  bool ok = writer.open(path, settings);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ok, printed.empty()) << printed;
  EXPECT_EQ(writer.isOpen(), ok);
  return printed;
}

TEST(MovieWriter, FailuresNameTheFileAndFfmpegsReason) {
  const fs::path folder = fs::temp_directory_path() / ("quillmere-movie-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  MovieSettings settings;
  settings.width = 64;
  settings.height = 48;

  const std::string unwritable = (folder / "no-such-folder" / "flight.mp4").string();
  EXPECT_EQ(openFailure(unwritable, settings),
            "Could not record the movie " + unwritable + ": cannot open the file: No such file or directory\n");

  const std::string movie = (folder / "flight.mkv").string();
  MovieSettings unknown = settings;
  unknown.encoderName = "no-such-encoder";
  EXPECT_EQ(openFailure(movie, unknown),
            "Could not record the movie " + movie + ": no encoder no-such-encoder: Encoder not found\n");

  MovieSettings tooHigh = settings;
  tooHigh.quality = 52; // H.264's constant rate factor ends at 51
  EXPECT_NE(openFailure(movie, tooHigh).find("quality 52 is above 51"), std::string::npos);
  tooHigh.quality = 63; // VP9's at 63
  EXPECT_EQ(openFailure((folder / "flight.webm").string(), tooHigh), "");

  // WebM holds only VP8, VP9 and AV1: the muxer refuses H.264.
  MovieSettings h264 = settings;
  h264.encoderName = "libx264";
  const std::string webm = (folder / "refused.webm").string();
  EXPECT_NE(openFailure(webm, h264).find("cannot write the header"), std::string::npos);
  EXPECT_FALSE(fs::exists(webm)); // no half-written file left behind

  // A frame of the wrong size is refused, not read past its end.
  MovieWriter writer;
  ASSERT_TRUE(writer.open(movie, settings));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(writer.writeFrame(std::vector<std::uint8_t>(64 * 47 * 3)));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("wrong size"), std::string::npos);
  EXPECT_TRUE(writer.writeFrame(std::vector<std::uint8_t>(64 * 48 * 3, 128)));
  EXPECT_TRUE(writer.finish());
  EXPECT_EQ(writer.framesWritten(), 1);
  fs::remove_all(folder);
}

TEST(FrameRange, FlightHasOneFramePerStepUpToThePastTheEndOne) {
  Parameters flight; // the example flight: τ from 0 in steps of 0.25 to 50
  flight.startTime = 0;
  flight.timeStep = 0.25f;
  flight.endTime = 50;
  // Steps 1..200 end at τ = 0.25·n ≤ 50; step 201 passes the end and is the last frame drawn.
  EXPECT_EQ(flightFrameCount(flight), 201);
  flight.startTime = 10; // the same run from τ = 10: 40 / 0.25 + 1
  EXPECT_EQ(flightFrameCount(flight), 161);
  flight.startTime = 60; // starts past the end: the first step still draws
  EXPECT_EQ(flightFrameCount(flight), 1);
  flight.timeStep = 0;
  EXPECT_EQ(flightFrameCount(flight), -1);
}

} // namespace
} // namespace quillmere
