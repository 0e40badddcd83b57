// The quillmere program end to end under a display (Xvfb without a screen):
// recorded frames, screenshots, the placeholder, accumulation and stereo,
// and every scene of tests/data/patterns drawn.
#include "../support/program_folder.h"
#include "../support/read_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using quillmere::test::Picture;
using quillmere::test::readPicture;

class Program : public quillmere::test::ProgramFolder {};

const std::string kFlight = QUILLMERE_EXAMPLES "/flight.par";

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

// Light-weighted centre and spread of one channel (or of all three, -1) in
// the columns [x0, x1) and rows [0, rows), x measured from x0.
struct Moments {
  double weight = 0, x = 0, y = 0, spreadX = 0, spreadY = 0;
};

Moments moments(const Picture& picture, int channel, int x0, int x1, int rows) {
  Moments m;
  double xx = 0, yy = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = x0; x < x1; ++x) {
      const unsigned char* p = picture.at(x, y);
      const double w = channel < 0 ? p[0] + p[1] + p[2] : p[channel];
      m.weight += w, m.x += w * (x - x0), m.y += w * y, xx += w * (x - x0) * (x - x0), yy += w * y * y;
    }
  if (m.weight <= 0) return m;
  m.x /= m.weight, m.y /= m.weight;
  m.spreadX = std::sqrt(std::max(0.0, xx / m.weight - m.x * m.x));
  m.spreadY = std::sqrt(std::max(0.0, yy / m.weight - m.y * m.y));
  return m;
}

TEST_F(Program, TheFirstFrameShowsTheStartOfTheFlight) {
  // A screenshot alone is of the window as it opens, before any step. The
  // flight starts at (0, 1.5, -20) looking along +z at an avenue of boxes
  // from z = -4 on; its first step moves it only 0.2 units on, so the start
  // view and the first frame show the boxes in nearly the same place (within
  // 2 pixels) and nearly as much light (within 10 %). A window that opened at
  // the origin at rest would stand inside the avenue.
  ASSERT_EQ(run(kFlight + " --screenshot start.png --size 320x200"), 0);
  ASSERT_EQ(run(kFlight + " --frames 1 --screenshot first.png --size 320x200"), 0);
  Picture start = readPicture(path("start.png")), first = readPicture(path("first.png"));
  ASSERT_EQ(start.width, 320);
  ASSERT_EQ(first.width, 320);
  const Moments atStart = moments(start, -1, 0, 320, 185), atFirst = moments(first, -1, 0, 320, 185);
  ASSERT_GT(atStart.weight, 10000);
  EXPECT_NEAR(atStart.x, atFirst.x, 2.0);
  EXPECT_NEAR(atStart.y, atFirst.y, 2.0);
  EXPECT_NEAR(atStart.weight, atFirst.weight, 0.1 * atFirst.weight);
  EXPECT_NE(start.rgb, first.rgb); // no step was taken before the screenshot
}

// Every way a batch run can end: with the placeholder, at the flight's end
// time, on a frame that cannot be written, on an unknown option.
TEST_F(Program, BatchRunsEndWithTheirStatus) {
  // No file: the placeholder cube, its +z face (grey diffuse plus blue
  // ambient) towards the eye; the run ends with 0.
  ASSERT_EQ(run("--frames 1 --screenshot cube.png --size 200x200"), 0);
  Picture cube = readPicture(path("cube.png"));
  ASSERT_EQ(cube.width, 200);
  EXPECT_GT(cube.at(100, 100)[2], cube.at(100, 100)[0] + 40);
  EXPECT_NEAR(cube.at(100, 100)[0], cube.at(100, 100)[1], 2);
  EXPECT_TRUE(cube.isBlack(5, 5));

  // --record alone runs to the end time: steps at τ = 0, 0.5, 1, 1.5, 2,
  // after which the time (2.5) has passed the end (2): five frames.
  write("short.par", QUILLMERE_EXAMPLES "/scene.wrl\n0 1.5 -20\n0 0 1\n0.5 0 0.5 2 100 1\n");
  for (const char* extra : {"", " --run"}) {
    fs::remove_all(path("frames"));
    ASSERT_EQ(run("short.par --record frames --size 64x64" + std::string(extra)), 0) << extra;
    int frames = 0;
    for (const auto& entry : fs::directory_iterator(path("frames"))) frames += entry.is_regular_file();
    EXPECT_EQ(frames, 5) << extra;
    EXPECT_EQ(readPicture(path("frames/frame-00005.png")).height, 64) << extra;
  }

  // A frame that cannot be written: its path and the system's reason, status 1.
  EXPECT_EQ(run(kFlight + " --frames 1 --screenshot /proc/nope/x.png --size 64x64"), 1);
  std::string output = this->output();
  EXPECT_NE(output.find("/proc/nope/x.png: No such file or directory"), std::string::npos) << output;
}

// Every stereo mode shows the left eye's view, from 2 units further left,
// with the scene further right than the right eye's view, at the same
// height (the eyes' lighting differs a little: heights agree to a tenth of
// the offset). The eyes converge far beyond the scene, so every object is
// nearer than the convergence point and the offset has one sign.
TEST_F(Program, StereoShowsEachEyesViewFromItsSide) {
  const std::string look = " --frames 1 --size 320x200 --no-overlay --focus 100000 --stereo ";
  ASSERT_EQ(run(kFlight + look + "anaglyph --screenshot anaglyph.png"), 0);
  Picture anaglyph = readPicture(path("anaglyph.png"));
  ASSERT_EQ(anaglyph.width, 320);
  for (int y = 0; y < anaglyph.height; y += 3) // the right eye writes green and blue alike (grey scene)
    for (int x = 0; x < anaglyph.width; x += 3) ASSERT_NEAR(anaglyph.at(x, y)[1], anaglyph.at(x, y)[2], 40);
  const Moments red = moments(anaglyph, 0, 0, 320, 200), cyan = moments(anaglyph, 1, 0, 320, 200);
  ASSERT_GT(red.weight, 1000);
  ASSERT_GT(cyan.weight, 1000);
  const double offset = red.x - cyan.x;
  EXPECT_GT(offset, 2.0);
  EXPECT_LT(std::abs(red.y - cyan.y), 0.1 * offset);

  // Without stereo buffers (Xvfb has none) ideal-observer stereo is the same
  // anaglyph; per-eye stereo too, each eye's scene transformed from that
  // eye; each says so once.
  for (const std::string mode : {"ideal", "per-eye"}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(run(kFlight + look + mode + " --screenshot fallback.png"), 0);
    const std::string log = output();
    const std::string warning = "stereo is drawn as a red-cyan anaglyph";
    ASSERT_NE(log.find(warning), std::string::npos) << log;
    EXPECT_EQ(log.find(warning, log.find(warning) + 1), std::string::npos) << "warned once: " << log;
    Picture fallback = readPicture(path("fallback.png"));
    if (mode == "ideal") {
      EXPECT_EQ(fallback.rgb, anaglyph.rgb);
      continue;
    }
    const Moments left = moments(fallback, 0, 0, 320, 200), right = moments(fallback, 1, 0, 320, 200);
    EXPECT_GT(left.x - right.x, 0.5 * offset);
    EXPECT_LT(std::abs(left.y - right.y), 0.1 * (left.x - right.x));
  }

  // Dual screen: the left eye in the left half, the right eye in the right
  // half, each with its own status bar (grey, 0.4) from its left end.
  ASSERT_EQ(run(kFlight + " --frames 1 --size 640x200 --focus 100000 --stereo dual --screenshot pair.png"), 0);
  Picture pair = readPicture(path("pair.png"));
  ASSERT_EQ(pair.width, 640);
  EXPECT_NEAR(pair.at(100, 199)[0], 102, 2);
  EXPECT_NEAR(pair.at(420, 199)[0], 102, 2);
  const Moments leftHalf = moments(pair, -1, 0, 320, 180), rightHalf = moments(pair, -1, 320, 640, 180);
  ASSERT_GT(leftHalf.weight, 1000);
  ASSERT_GT(rightHalf.weight, 1000);
  EXPECT_GT(leftHalf.x - rightHalf.x, 2.0);
  EXPECT_LT(std::abs(leftHalf.y - rightHalf.y), 0.1 * (leftHalf.x - rightHalf.x));
}

// A white square in front of a red one that reaches out to its right (seen
// from (0, 0, 10) along −z, 200 × 200 pixels, 0.5 rad high: the white
// square covers pixels 61..139, the red one 84..182 by 84..116). Wireframe
// shows the red edges behind the white square; hidden-line hides them and
// keeps those beside it.
TEST_F(Program, HiddenLineHidesTheEdgesBehindFacesOnly) {
  write("two.wrl", "#VRML V1.0 ascii\n"
                   "PerspectiveCamera { position 0 0 10 heightAngle 0.5 }\n"
                   "Separator { Material { diffuseColor 1 0 0 } Coordinate3 { point [-0.5 -0.5 -2, 2.5 -0.5 -2, "
                   "2.5 0.5 -2, -0.5 0.5 -2] } IndexedFaceSet { coordIndex [0, 1, 2, 3] } }\n"
                   "Material { diffuseColor 1 1 1 } Coordinate3 { point [-1 -1 0, 1 -1 0, 1 1 0, -1 1 0] }\n"
                   "IndexedFaceSet { coordIndex [0, 1, 2, 3] }\n");
  auto redPixels = [](const Picture& picture, int x0, int x1) {
    int count = 0;
    for (int y = 70; y < 130; ++y)
      for (int x = x0; x < x1; ++x) count += picture.at(x, y)[0] > 100 && picture.at(x, y)[1] < 60;
    return count;
  };
  for (const char* style : {"wireframe", "hidden-line"}) {
    ASSERT_EQ(run(std::string("two.wrl --frames 1 --size 200x200 --no-overlay --screenshot edges.png --style ") + style),
              0);
    Picture edges = readPicture(path("edges.png"));
    ASSERT_EQ(edges.width, 200);
    const bool hidden = std::string(style) == "hidden-line";
    if (hidden)
      EXPECT_EQ(redPixels(edges, 65, 136), 0) << style;
    else
      EXPECT_GT(redPixels(edges, 65, 136), 50) << style;
    EXPECT_GT(redPixels(edges, 145, 195), 40) << style; // beside the white square
  }
}

// A flight standing still at the origin, looking along +z, at a scene of
// `body` (60° high view, 200 × 200 pixels without the status bar).
std::string stillFlight(const std::string& scene) { return scene + "\n0 0 0\n0 0 1\n0 0 2 100 25 1 1 0\n"; }

// Two white squares of the same apparent size (0.04 rad half-width), one
// at the focus distance 20, one at 5: with 8 lens passes the near one
// spreads over the lens's image while the one in focus stays as it was.
TEST_F(Program, DepthOfFieldBlursOnlyWhatIsOutOfFocus) {
  write("squares.wrl", "#VRML V1.0 ascii\nMaterial { diffuseColor 1 1 1 emissiveColor 1 1 1 }\n"
                       "Coordinate3 { point [1.3 -0.2 5, 1.7 -0.2 5, 1.7 0.2 5, 1.3 0.2 5, "
                       "-5.2 -0.8 20, -6.8 -0.8 20, -6.8 0.8 20, -5.2 0.8 20] }\n"
                       "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1, 4, 5, 6, 7] }\n");
  write("still.par", stillFlight("squares.wrl"));
  const std::string look = "still.par --frames 1 --size 200x200 --no-overlay --focus 20 --screenshot ";
  ASSERT_EQ(run(look + "sharp.png"), 0);
  ASSERT_EQ(run(look + "lens.png --depth-of-field 8"), 0);
  Picture sharp = readPicture(path("sharp.png")), lens = readPicture(path("lens.png"));
  ASSERT_EQ(lens.width, 200);
  // World +x is on the left: the near square on the left, the far one on the right.
  const Moments nearSharp = moments(sharp, -1, 0, 100, 200), nearLens = moments(lens, -1, 0, 100, 200);
  const Moments farSharp = moments(sharp, -1, 100, 200, 200), farLens = moments(lens, -1, 100, 200, 200);
  ASSERT_GT(nearSharp.weight, 1000);
  ASSERT_GT(farSharp.weight, 1000);
  EXPECT_NEAR(farLens.spreadX, farSharp.spreadX, 0.3);
  EXPECT_NEAR(farLens.spreadY, farSharp.spreadY, 0.3);
  EXPECT_GT(nearLens.spreadX, nearSharp.spreadX + 1.0);
  EXPECT_GT(nearLens.spreadY, nearSharp.spreadY + 1.0);
}

// A white square 20 ahead in a frame moving sideways at 0.9 c (γ = 2.294),
// 41.3 · γ⁻¹ = 18 units to the side at t = 0: the light reaching the
// observer then left it 20 units back in time, straight ahead. The flight's
// step of 2 spreads the motion-blur sub-frames over 0.8 · 2 = 1.6 units of
// time, in which the square moves 1.44 units: over 10 pixels across.
TEST_F(Program, MotionBlurSmearsAMovingObjectAlongItsMotion) {
  write("runner.wrl", "#VRML V1.0 ascii\nRELframe { velocity 0.9 0 0 }\n"
                      "Material { diffuseColor 1 1 1 emissiveColor 1 1 1 }\n"
                      "Coordinate3 { point [40.8 -0.5 20, 41.8 -0.5 20, 41.8 0.5 20, 40.8 0.5 20] }\n"
                      "IndexedFaceSet { coordIndex [0, 1, 2, 3] }\n");
  write("still.par", stillFlight("runner.wrl"));
  const std::string look = "still.par --frames 1 --size 200x200 --no-overlay --screenshot ";
  ASSERT_EQ(run(look + "plain.png"), 0);
  ASSERT_EQ(run(look + "blurred.png --motion-blur 8"), 0);
  const Moments plain = moments(readPicture(path("plain.png")), -1, 0, 200, 200);
  const Moments blurred = moments(readPicture(path("blurred.png")), -1, 0, 200, 200);
  ASSERT_GT(plain.weight, 1000);
  EXPECT_GT(blurred.spreadX, plain.spreadX + 2.0);
  EXPECT_NEAR(blurred.spreadY, plain.spreadY, 0.5);
}

TEST_F(Program, ABadSceneEndsWithStatus1) {
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/display/no_coordinates.wrl' --frames 1"), 1);
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/vrml/corpus/errors_use.wrl' --frames 1"), 1);
  EXPECT_EQ(run("missing.par --frames 1"), 1);
  // A model file Assimp cannot read, opened directly, and extras that cannot be.
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/scene/broken.obj' --frames 1"), 1);
  EXPECT_EQ(run("'" QUILLMERE_TEST_DATA "/scene/bad_speed.gltf' --frames 1"), 1);
  // A file of comments only: nothing to show, said as such.
  write("comments.wrl", "#VRML V1.0 ascii\n# exported without geometry\n");
  EXPECT_EQ(run("comments.wrl --frames 1"), 1);
  EXPECT_NE(output().find("comments.wrl: no nodes"), std::string::npos) << output();
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
  for (const char* size : {"0.02", "10000"}) {
    SCOPED_TRACE(size);
    write("cube.wrl", std::string("#VRML V1.0 ascii\nMaterial { diffuseColor 0.9 0.15 0.1 } Cube { width ") + size + " height " + size +
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
  write("camera.wrl", "#VRML V1.0 ascii\nPerspectiveCamera { position 10 0 0 orientation 0 1 0 1.5707963 heightAngle 1.0471976 } "
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
