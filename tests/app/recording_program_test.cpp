// Recording end to end, in a window under a display or else through EGL: a
// range of frames matches the same frames of a whole run pixel for pixel,
// movies read back through the ffmpeg programs, offscreen pictures match the
// window's, the render farm joins its segments, and Ctrl+C leaves a playable
// movie.
#include "../support/program_folder.h"
#include "../support/read_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using quillmere::test::Picture;
using quillmere::test::readPicture;

// Mean absolute difference per channel, in 0..255.
double meanDifference(const Picture& a, const Picture& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
  return sum / double(a.rgb.size());
}

class Recording : public quillmere::test::ProgramFolder {
protected:
  std::string frame(const std::string& folder, int number) const {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05d.png", number);
    return path(folder + name);
  }
  // "frames,width,height" of a movie's video stream, counted by decoding.
  std::string probe(const std::string& movie) {
    shell("ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames,width,height "
          "-of csv=p=0 " + movie + " >probe.txt 2>&1");
    std::string result = text("probe.txt");
    while (!result.empty() && (result.back() == '\n' || result.back() == ',')) result.pop_back();
    return result;
  }
};

const std::string kFlight = QUILLMERE_EXAMPLES "/flight.par";

// Motion blur replays sub-frames into the observer as it draws, and
// antialiasing accumulates: the range must start from exactly that state.
TEST_F(Recording, RangeOfFramesMatchesTheWholeRunPixelForPixel) {
  const std::string look = " --size 160x100 --motion-blur 4 --antialias 4";
  ASSERT_EQ(run(kFlight + " --frames 20 --record whole" + look), 0) << text("output.txt");
  ASSERT_EQ(run(kFlight + " --first-frame 11 --frames 10 --record range" + look), 0) << text("output.txt");
  EXPECT_FALSE(fs::exists(frame("range", 10)));
  EXPECT_FALSE(fs::exists(frame("range", 21)));
  for (int number = 11; number <= 20; ++number) {
    Picture whole = readPicture(frame("whole", number)), part = readPicture(frame("range", number));
    ASSERT_EQ(part.width, 160) << number;
    EXPECT_TRUE(whole.rgb == part.rgb) << "frame " << number << " differs by " << meanDifference(whole, part);
  }
  // The example flight has 201 frames (τ 0.25 … 50.25): 201 is the last that can start a range.
  EXPECT_EQ(run(kFlight + " --first-frame 201 --frames 1 --screenshot last.png --size 160x100"), 0);
  EXPECT_EQ(run(kFlight + " --first-frame 202 --frames 1 --screenshot after.png --size 160x100"), 1);
  EXPECT_NE(text("output.txt").find("--first-frame 202: the flight ends at frame 201"), std::string::npos);
  EXPECT_EQ(shell("'" QUILLMERE_PROGRAM "' " + kFlight + " --flight-frames >count.txt"), 0);
  EXPECT_EQ(text("count.txt"), "201\n");
}

// H.264 and VP9 lose a little to quantisation and yuv420p's halved chroma:
// the first frame decoded must lie within a mean of 4 levels of the PNG.
TEST_F(Recording, MoviesReadBackWithTheirFramesSizeAndPictures) {
  const std::string look = " --frames 12 --size 320x200";
  ASSERT_EQ(run(kFlight + look + " --record frames"), 0) << text("output.txt");
  Picture first = readPicture(frame("frames", 1));
  for (const char* movie : {"flight.mp4", "flight.webm"}) {
    ASSERT_EQ(run(kFlight + look + " --record " + movie), 0) << text("output.txt");
    EXPECT_EQ(probe(movie), "320,200,12") << movie;
    ASSERT_EQ(shell(std::string("ffmpeg -v error -y -i ") + movie + " -frames:v 1 decoded.png"), 0);
    Picture decoded = readPicture(path("decoded.png"));
    ASSERT_EQ(decoded.rgb.size(), first.rgb.size()) << movie;
    EXPECT_LT(meanDifference(decoded, first), 4.0) << movie;
  }
  // The frame rate comes from the parameter file (100), or --fps.
  shell("ffprobe -v error -show_entries stream=r_frame_rate -of csv=p=0 flight.mp4 >rate.txt");
  EXPECT_EQ(text("rate.txt"), "100/1\n");
  ASSERT_EQ(run(kFlight + look + " --record slow.mkv --fps 24 --quality 30"), 0) << text("output.txt");
  shell("ffprobe -v error -show_entries stream=r_frame_rate,codec_name -of csv=p=0 slow.mkv >rate.txt");
  EXPECT_EQ(text("rate.txt"), "h264,24/1\n");
}

// The same frame drawn in a window (Xvfb) and offscreen through EGL, with
// accumulation: the window's accumulation buffer against the float
// framebuffer, within one level of 255 (rounding of the sRGB encoding).
TEST_F(Recording, OffscreenPicturesMatchTheWindowsWithinOneLevel) {
  if (!std::getenv("DISPLAY") || !eglWorks()) GTEST_SKIP() << "needs both a display and EGL";
  const std::string look = " --frames 4 --size 240x150";
  for (const char* options : {" --antialias 4", " --motion-blur 3 --depth-of-field 4", " --style hidden-line"}) {
    ASSERT_EQ(run(kFlight + look + options + " --screenshot window.png"), 0) << text("output.txt");
    ASSERT_EQ(run(kFlight + look + options + " --headless --screenshot offscreen.png"), 0) << text("output.txt");
    Picture window = readPicture(path("window.png")), offscreen = readPicture(path("offscreen.png"));
    ASSERT_EQ(window.rgb.size(), offscreen.rgb.size()) << options;
    int worst = 0, lit = 0;
    for (std::size_t i = 0; i < window.rgb.size(); ++i) {
      worst = std::max(worst, std::abs(int(window.rgb[i]) - int(offscreen.rgb[i])));
      lit += window.rgb[i] > 0;
    }
    EXPECT_LE(worst, 1) << options;
    EXPECT_GT(lit, 1000) << options; // a scene and its status bar, not two black pictures
  }
}

// Four segments of five frames, rendered in parallel and joined without
// re-encoding: 20 frames, and frame 11 (the third segment's first) is the
// whole run's frame 11, nearer to it than to its neighbours; a Slurm array
// task renders the same segment.
TEST_F(Recording, RenderFarmJoinsSegmentsIntoTheWholeFlight) {
  if (shell("command -v parallel >/dev/null") != 0) GTEST_SKIP() << "no GNU parallel";
  const std::string look = " --frames 20 --size 160x100";
  ASSERT_EQ(run(kFlight + look + " --record whole"), 0) << text("output.txt");
  ASSERT_EQ(shell("QUILLMERE='" QUILLMERE_PROGRAM "' bash '" QUILLMERE_EXAMPLES "/../scripts/render-farm.sh' "
                  "--segments 4 " + kFlight + " farm.mp4 --" + look + " >output.txt 2>&1"),
            0)
      << text("output.txt");
  EXPECT_EQ(probe("farm.mp4"), "160,100,20");
  ASSERT_EQ(shell("ffmpeg -v error -y -i farm.mp4 -vf select='eq(n\\,10)' -frames:v 1 eleventh.png"), 0);
  Picture eleventh = readPicture(path("eleventh.png"));
  ASSERT_EQ(eleventh.width, 160);
  const double own = meanDifference(eleventh, readPicture(frame("whole", 11)));
  EXPECT_LT(own, 4.0);
  EXPECT_LT(own, meanDifference(eleventh, readPicture(frame("whole", 10))));
  EXPECT_LT(own, meanDifference(eleventh, readPicture(frame("whole", 12))));

  // The third of a Slurm array's four tasks renders that segment on its own.
  ASSERT_EQ(shell("SLURM_ARRAY_TASK_ID=3 SLURM_ARRAY_TASK_MIN=1 SLURM_ARRAY_TASK_COUNT=4 QUILLMERE='" QUILLMERE_PROGRAM
                  "' bash '" QUILLMERE_EXAMPLES "/../scripts/render-farm.sbatch' " + kFlight + " slurm" + look +
                  " >output.txt 2>&1"),
            0)
      << text("output.txt");
  EXPECT_EQ(probe("slurm/segment-3.mp4"), "160,100,5");
  ASSERT_EQ(shell("ffmpeg -v error -y -i slurm/segment-3.mp4 -frames:v 1 task.png"), 0);
  EXPECT_LT(meanDifference(readPicture(path("task.png")), readPicture(frame("whole", 11))), 4.0);
}

// The run is stopped from outside after a while, wherever it is; the movie
// must hold every frame up to the last one written, with its trailer.
TEST_F(Recording, InterruptedRunLeavesAPlayableMovie) {
  // The example flight, with an end time it does not reach before the signal.
  std::ofstream(path("long.par")) << QUILLMERE_EXAMPLES "/scene.wrl\n0 1.5 -20\n0 0 1\n0.5 0 0.25 100000 100 1\n1 1\n1 1 0\n";
  // Ctrl+C two seconds after the scene has loaded (however long loading takes on a busy machine).
  shell("{ '" QUILLMERE_PROGRAM "' long.par --frames 100000 --size 160x100 --record flight.mp4 >output.txt 2>&1 & "
        "program=$!; for i in $(seq 600); do grep -q 'Read was ok' output.txt && break; sleep 0.1; done; "
        "sleep 2; kill -INT $program; "
        "for i in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.1; done; kill -KILL $program; "
        "wait $program; echo $? >status.txt; } 2>/dev/null");
  EXPECT_EQ(text("status.txt"), "130\n") << text("output.txt");
  std::string frames = probe("flight.mp4");
  ASSERT_EQ(frames.rfind("160,100,", 0), 0u) << frames;
  EXPECT_GT(std::atoi(frames.c_str() + 8), 0);
}

} // namespace
