// The quillmere program end to end under a display (Xvfb without a screen):
// recorded frames, screenshots, the placeholder, accumulation and stereo,
// and every scene of tests/data/patterns drawn.
#include <gtest/gtest.h>
#include <magick/MagickCore.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb; // top row first
  const unsigned char* at(int x, int y) const { return &rgb[std::size_t(3 * (y * width + x))]; }
  bool isBlack(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2] == 0; }
};

Picture readPicture(const std::string& path) {
  static bool started = (MagickCoreGenesis("program_test", MagickFalse), true);
  (void)started;
  Picture picture;
  ExceptionInfo* exception = AcquireExceptionInfo();
  ImageInfo* info = AcquireImageInfo();
  CopyMagickString(info->filename, path.c_str(), MaxTextExtent);
  if (Image* image = ReadImage(info, exception)) {
    picture.width = int(image->columns);
    picture.height = int(image->rows);
    picture.rgb.resize(std::size_t(3 * picture.width * picture.height));
    ExportImagePixels(image, 0, 0, image->columns, image->rows, "RGB", CharPixel, picture.rgb.data(), exception);
    DestroyImage(image);
  }
  DestroyImageInfo(info);
  DestroyExceptionInfo(exception);
  return picture;
}

class Program : public testing::Test {
protected:
  // Without a display the program draws offscreen through EGL.
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quillmere-program-" + std::to_string(::getpid()) + "-" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    if (!std::getenv("DISPLAY") && run("--headless --frames 1 --screenshot probe.png --size 32x32") != 0)
      GTEST_SKIP() << "no display and no EGL";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs quillmere with `arguments` in the test's folder; returns the exit status.
  int run(const std::string& arguments) {
    std::string command = "cd '" + folder_.string() + "' && '" QUILLMERE_PROGRAM "' " + arguments + " >output.txt 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

const std::string kFlight = QUILLMERE_EXAMPLES "/flight.par";

TEST_F(Program, RecordsEveryStepAsAFrameOfTheWindowsSize) {
  // The parameter file names its scene relative to itself; the run starts elsewhere.
  ASSERT_EQ(run(kFlight + " --frames 3 --record frames --size 320x200"), 0);
  for (int i = 1; i <= 3; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "frames/frame-%05d.png", i);
    Picture frame = readPicture(path(name));
    ASSERT_EQ(frame.width, 320) << name;
    ASSERT_EQ(frame.height, 200);
    // The status bar is grey (0.4) along the bottom; the scene shows above it.
    EXPECT_NEAR(frame.at(318, 199)[0], 102, 2);
    int lit = 0;
    for (int y = 0; y < 180; ++y)
      for (int x = 0; x < 320; ++x) lit += !frame.isBlack(x, y);
    EXPECT_GT(lit, 100) << name;
  }
  EXPECT_FALSE(fs::exists(path("frames/frame-00004.png")));
}

TEST_F(Program, PlaceholderCubeShowsItsBlueFront) {
  ASSERT_EQ(run("--screenshot cube.png --size 200x200"), 0);
  Picture cube = readPicture(path("cube.png"));
  ASSERT_EQ(cube.width, 200);
  // The +z face (blue ambient) faces the eye: grey diffuse plus blue ambient.
  const unsigned char* centre = cube.at(100, 100);
  EXPECT_GT(centre[2], centre[0] + 40);
  EXPECT_NEAR(centre[0], centre[1], 2);
  EXPECT_TRUE(cube.isBlack(5, 5));
}

TEST_F(Program, AntialiasingChangesOnlyEdges) {
  ASSERT_EQ(run(kFlight + " --frames 2 --screenshot plain.png --size 320x200 --no-overlay"), 0);
  ASSERT_EQ(run(kFlight + " --frames 2 --screenshot smooth.png --size 320x200 --no-overlay --antialias 4"), 0);
  Picture plain = readPicture(path("plain.png")), smooth = readPicture(path("smooth.png"));
  ASSERT_EQ(plain.rgb.size(), smooth.rgb.size());
  int changed = 0, changedInsideFlatArea = 0;
  for (int y = 1; y + 1 < plain.height; ++y)
    for (int x = 1; x + 1 < plain.width; ++x) {
      if (std::abs(plain.at(x, y)[0] - smooth.at(x, y)[0]) <= 8) continue;
      ++changed;
      bool flat = true; // the plain picture is uniform around the pixel: no edge there
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) flat = flat && std::abs(plain.at(x + dx, y + dy)[0] - plain.at(x, y)[0]) <= 8;
      changedInsideFlatArea += flat;
    }
  EXPECT_GT(changed, 10);
  EXPECT_EQ(changedInsideFlatArea, 0);
}

TEST_F(Program, DualScreenStereoDrawsBothHalves) {
  ASSERT_EQ(run(kFlight + " --frames 2 --screenshot pair.png --size 400x200 --stereo dual"), 0);
  Picture pair = readPicture(path("pair.png"));
  ASSERT_EQ(pair.width, 400);
  int left = 0, right = 0;
  for (int y = 0; y < 180; ++y)
    for (int x = 0; x < 200; ++x) {
      left += !pair.isBlack(x, y);
      right += !pair.isBlack(x + 200, y);
    }
  EXPECT_GT(left, 50);
  EXPECT_GT(right, 50);
  // Each half has its own status bar, whose text starts at its left end.
  EXPECT_NEAR(pair.at(100, 199)[0], 102, 2);
  EXPECT_NEAR(pair.at(300, 199)[0], 102, 2);
}

TEST_F(Program, ABadSceneEndsWithStatus1) {
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/display/no_coordinates.wrl' --frames 1"), 1);
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/vrml/corpus/errors_use.wrl' --frames 1"), 1);
  EXPECT_EQ(run("missing.par --frames 1"), 1);
}

// Each file opened on its own, as a user would open it: the program frames
// the whole model, so every pattern shows something above the status bar.
// QUILLMERE_TEST_IMAGES=DIR keeps the pictures.
TEST_F(Program, DrawsEveryPatternScene) {
  std::vector<fs::path> scenes;
  for (const auto& entry : fs::directory_iterator(QUILLMERE_PATTERNS))
    if (entry.path().extension() == ".wrl" || entry.path().extension() == ".wrz") scenes.push_back(entry.path());
  std::sort(scenes.begin(), scenes.end());
  ASSERT_GE(scenes.size(), 20u);
  const char* keep = std::getenv("QUILLMERE_TEST_IMAGES");
  for (const fs::path& scene : scenes) {
    const std::string name = scene.stem().string();
    const std::string picture = name + ".png";
    int status = run("'" + scene.string() + "' --frames 1 --screenshot " + picture + " --size 320x240");
    EXPECT_EQ(status, 0) << name;
    if (status != 0) continue;
    if (keep)
      fs::copy_file(path(picture), fs::path(keep) / ("pattern-" + picture), fs::copy_options::overwrite_existing);
    Picture frame = readPicture(path(picture));
    EXPECT_TRUE(frame.width == 320 && frame.height == 240) << name << ": " << frame.width << "x" << frame.height;
    if (frame.width != 320 || frame.height != 240) continue;
    int lit = 0;
    for (int y = 0; y < 210; ++y) // the status bar takes the bottom rows
      for (int x = 0; x < 320; ++x) lit += !frame.isBlack(x, y);
    EXPECT_GT(lit, 100) << name;
  }
}

} // namespace
