// The quillmere program end to end under a display (Xvfb without a screen):
// recorded frames, screenshots, the placeholder, accumulation and stereo,
// and every scene of tests/data/patterns drawn.
#include "render/magick_session.h"

#include <gtest/gtest.h>
#include <magick/MagickCore.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
  quillmere::startMagickCore();
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
  // What the last run wrote to standard output and standard error.
  std::string output() const {
    std::ifstream in(folder_ / "output.txt");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

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

// The centre of the lit pixels above the status bar, and how many there are.
struct LitArea {
  double x = 0, y = 0;
  int count = 0;
};

LitArea litArea(const Picture& picture, int rows) {
  LitArea area;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (!picture.isBlack(x, y)) area.x += x, area.y += y, ++area.count;
  if (area.count > 0) area.x /= area.count, area.y /= area.count;
  return area;
}

TEST_F(Program, TheFirstFrameShowsTheStartOfTheFlight) {
  // A screenshot alone is of the window as it opens, before any step. The
  // flight starts at (0, 1.5, -20) looking along +z at an avenue of boxes
  // from z = -4 on; its first step moves it only 0.2 units on, so the start
  // view and the first frame show the boxes in nearly the same place (within
  // 2 pixels) and nearly the same size (within 10 %). A window that opened at
  // the origin at rest would stand inside the avenue.
  ASSERT_EQ(run(kFlight + " --screenshot start.png --size 320x200"), 0);
  ASSERT_EQ(run(kFlight + " --frames 1 --screenshot first.png --size 320x200"), 0);
  Picture start = readPicture(path("start.png")), first = readPicture(path("first.png"));
  ASSERT_EQ(start.width, 320);
  ASSERT_EQ(first.width, 320);
  LitArea atStart = litArea(start, 185), atFirst = litArea(first, 185);
  ASSERT_GT(atStart.count, 100);
  EXPECT_NEAR(atStart.x, atFirst.x, 2.0);
  EXPECT_NEAR(atStart.y, atFirst.y, 2.0);
  EXPECT_NEAR(atStart.count, atFirst.count, 0.1 * atFirst.count);
  EXPECT_NE(start.rgb, first.rgb); // no step was taken before the screenshot
}

// Every way a batch run can end: with the placeholder, at the flight's end
// time, on a frame that cannot be written, on an unknown option.
TEST_F(Program, BatchRunsEndWithTheirStatus) {
  // No file: the placeholder is written and the run ends with 0.
  EXPECT_EQ(run("--frames 1 --screenshot cube.png --size 64x64"), 0);
  EXPECT_EQ(readPicture(path("cube.png")).width, 64);

  // --record alone runs to the end time: steps at τ = 0, 0.5, 1, 1.5, 2,
  // after which the time (2.5) has passed the end (2): five frames.
  std::FILE* file = std::fopen(path("short.par").c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fprintf(file, "%s/scene.wrl\n0 1.5 -20\n0 0 1\n0.5 0 0.5 2 100 1\n", QUILLMERE_EXAMPLES);
  std::fclose(file);
  for (const char* extra : {"", " --run"}) {
    fs::remove_all(path("frames"));
    ASSERT_EQ(run("short.par --record frames --size 64x64" + std::string(extra)), 0) << extra;
    int frames = 0;
    for (const auto& entry : fs::directory_iterator(path("frames"))) frames += entry.is_regular_file();
    EXPECT_EQ(frames, 5) << extra;
    EXPECT_TRUE(fs::exists(path("frames/frame-00005.png")));
  }

  // A frame that cannot be written: its path and the system's reason, status 1.
  EXPECT_EQ(run(kFlight + " --frames 1 --screenshot /proc/nope/x.png --size 64x64"), 1);
  std::string output = this->output();
  EXPECT_NE(output.find("/proc/nope/x.png: No such file or directory"), std::string::npos) << output;
}

TEST_F(Program, AnaglyphDrawsTheLeftEyeRedAndTheRightEyeCyan) {
  // Eyes converging far beyond the scene (nearly parallel): every object is
  // nearer than the convergence point.
  ASSERT_EQ(run(kFlight + " --frames 1 --screenshot pair.png --size 320x200 --no-overlay --stereo anaglyph --focus 100000"),
            0);
  Picture pair = readPicture(path("pair.png"));
  ASSERT_EQ(pair.width, 320);
  // Centroids of the red (left-eye) and green (right-eye) light.
  double redX = 0, redY = 0, red = 0, cyanX = 0, cyanY = 0, cyan = 0;
  for (int y = 0; y < pair.height; ++y)
    for (int x = 0; x < pair.width; ++x) {
      const unsigned char* p = pair.at(x, y);
      redX += x * p[0], redY += y * p[0], red += p[0];
      cyanX += x * p[1], cyanY += y * p[1], cyan += p[1];
      EXPECT_NEAR(p[1], p[2], 40) << x << "," << y; // the right eye writes green and blue alike (grey scene)
    }
  ASSERT_GT(red, 1000);
  ASSERT_GT(cyan, 1000);
  redX /= red, redY /= red, cyanX /= cyan, cyanY /= cyan;
  // The left eye, 2 units to the left, sees the scene further right: the
  // two images are offset sideways (the eyes' lighting differs a little, so
  // the heights agree to a tenth of that offset).
  EXPECT_GT(redX - cyanX, 2.0);
  EXPECT_LT(std::abs(redY - cyanY), 0.1 * (redX - cyanX)) << redY << " " << cyanY;

  // Without stereo buffers (Xvfb has none) ideal-observer stereo is the
  // same anaglyph, with one warning.
  ASSERT_EQ(run(kFlight + " --frames 3 --screenshot ideal.png --size 320x200 --no-overlay --stereo ideal"), 0);
  std::string log = output();
  ASSERT_EQ(run(kFlight + " --frames 3 --screenshot pair3.png --size 320x200 --no-overlay --stereo anaglyph"), 0);
  EXPECT_EQ(readPicture(path("ideal.png")).rgb, readPicture(path("pair3.png")).rgb);
  const std::string warning = "no stereo buffers: ideal-observer stereo is drawn as a red-cyan anaglyph";
  ASSERT_NE(log.find(warning), std::string::npos) << log;
  EXPECT_EQ(log.find(warning, log.find(warning) + 1), std::string::npos) << "warned once: " << log;
}

TEST_F(Program, ABadSceneEndsWithStatus1) {
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/display/no_coordinates.wrl' --frames 1"), 1);
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/vrml/corpus/errors_use.wrl' --frames 1"), 1);
  EXPECT_EQ(run("missing.par --frames 1"), 1);
  // A model file Assimp cannot read, opened directly, and extras that cannot be.
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/scene/broken.obj' --frames 1"), 1);
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/scene/bad_speed.gltf' --frames 1"), 1);
  // A file of comments only: nothing to show, said as such.
  std::FILE* file = std::fopen(path("comments.wrl").c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("#VRML V1.0 ascii\n# exported without geometry\n", file);
  std::fclose(file);
  EXPECT_EQ(run("comments.wrl --frames 1"), 1);
  std::FILE* output = std::fopen(path("output.txt").c_str(), "r");
  ASSERT_NE(output, nullptr);
  char text[4096] = {};
  const std::size_t length = std::fread(text, 1, sizeof text - 1, output);
  std::fclose(output);
  EXPECT_NE(std::string(text, length).find("comments.wrl: no nodes"), std::string::npos) << text;
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

// A scene file opened directly is framed whatever its size (near and far
// planes follow it), and seen from its first camera when it has one. The
// pictures have 320 × 240 pixels, the status bar at the bottom.
TEST_F(Program, OpensSceneFilesFramedOrFromTheirCamera) {
  auto write = [&](const std::string& name, const std::string& body) {
    std::FILE* file = std::fopen(path(name).c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "#VRML V1.0 ascii\n%s\n", body.c_str());
    std::fclose(file);
  };
  for (const char* size : {"0.02", "10000"}) {
    SCOPED_TRACE(size);
    write("cube.wrl", std::string("Material { diffuseColor 0.9 0.15 0.1 } Cube { width ") + size + " height " + size +
                          " depth " + size + " }");
    ASSERT_EQ(run("cube.wrl --frames 1 --screenshot cube.png --size 320x240 --no-overlay"), 0);
    Picture cube = readPicture(path("cube.png"));
    ASSERT_EQ(cube.width, 320);
    // The red front face at the centre keeps its hue under the default lights.
    const unsigned char* centre = cube.at(160, 120);
    EXPECT_GT(centre[0], 100);
    EXPECT_GT(centre[0], 2 * centre[1]);
    EXPECT_GT(centre[0], 2 * centre[2]);
    EXPECT_TRUE(cube.isBlack(5, 5));
    EXPECT_TRUE(cube.isBlack(314, 234));
  }
  // A camera on +x looking along −x (a quarter turn about +y): the red cube
  // at the origin in the middle; the green one at z = 5 shows on the left,
  // atan(5/10) = 26.6° off the axis in a 60° high, 320/240 as wide view.
  write("camera.wrl", "PerspectiveCamera { position 10 0 0 orientation 0 1 0 1.5707963 heightAngle 1.0471976 } "
                      "Separator { Material { diffuseColor 0.9 0.15 0.1 } Cube {} } "
                      "Translation { translation 0 0 5 } Material { diffuseColor 0.1 0.9 0.1 } Cube {}");
  ASSERT_EQ(run("camera.wrl --frames 1 --screenshot camera.png --size 320x240 --no-overlay"), 0);
  Picture camera = readPicture(path("camera.png"));
  ASSERT_EQ(camera.width, 320);
  const unsigned char* middle = camera.at(160, 120);
  EXPECT_GT(middle[0], 2 * middle[1]);
  const int leftX = int(160 - 160 * 0.5 / (std::tan(0.5235988) * 320.0 / 240.0));
  const unsigned char* left = camera.at(leftX, 120);
  EXPECT_GT(left[1], 2 * left[0]);
  EXPECT_TRUE(camera.isBlack(300, 120));
}

} // namespace
