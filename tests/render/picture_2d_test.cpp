// Pictures written by our own PNG writer, decoded and compared byte for byte: rows bottom first.
#include "../support/png_file.h"

#include "gl/picture_2d.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace quillmere::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes pixelsOf(const Picture2D& picture) {
  return Bytes(picture.getPixels(), picture.getPixels() + picture.byteCount());
}

// Loads and returns what the load wrote to standard output.
std::string loadCapturing(Picture2D& picture, const std::string& path, bool& loaded) {
  testing::internal::CaptureStderr();
  loaded = picture.load(path.c_str());
  return testing::internal::GetCapturedStderr();
}

TEST(Picture2D, StoresEveryComponentCountBottomRowFirstWithEightBitAlpha) {
  const std::string folder = scratchFolder("picture_layout");
  // Rows (A, B) over (C, D): the array holds C, D, A, B whatever the count.
  const Bytes a = {10, 20, 30, 255}, b = {40, 50, 60, 128}, c = {70, 80, 90, 0}, d = {100, 110, 120, 64};
  Bytes rgb, rgba, expectedRgb, expectedRgba;
  for (const Bytes* p : {&a, &b, &c, &d}) {
    rgb.insert(rgb.end(), p->begin(), p->begin() + 3);
    rgba.insert(rgba.end(), p->begin(), p->end());
  }
  for (const Bytes* p : {&c, &d, &a, &b}) {
    expectedRgb.insert(expectedRgb.end(), p->begin(), p->begin() + 3);
    expectedRgba.insert(expectedRgba.end(), p->begin(), p->end());
  }
  ASSERT_TRUE(writePng(folder + "/rgb.png", 2, 2, 3, rgb));
  ASSERT_TRUE(writePng(folder + "/rgba.png", 2, 2, 4, rgba));

  Picture2D picture;
  ASSERT_TRUE(picture.load((folder + "/rgb.png").c_str()));
  EXPECT_EQ(picture.getComponents(), 3);
  EXPECT_FALSE(picture.hasAlpha());
  EXPECT_FALSE(picture.isGrey());
  EXPECT_EQ(pixelsOf(picture), expectedRgb);

  // Loading again replaces everything, alpha included.
  ASSERT_TRUE(picture.load((folder + "/rgba.png").c_str()));
  EXPECT_EQ(picture.getComponents(), 4);
  EXPECT_TRUE(picture.hasAlpha());
  EXPECT_EQ(pixelsOf(picture), expectedRgba);

  // Grey, 3 × 2 (no power of two): top row 1 2 3, bottom row 4 5 6.
  ASSERT_TRUE(writePng(folder + "/grey.png", 3, 2, 1, {1, 2, 3, 4, 5, 6}));
  ASSERT_TRUE(picture.load((folder + "/grey.png").c_str()));
  EXPECT_EQ(picture.getComponents(), 1);
  EXPECT_TRUE(picture.isGrey());
  EXPECT_EQ(picture.getWidth(), 3);
  EXPECT_EQ(picture.getHeight(), 2);
  EXPECT_EQ(pixelsOf(picture), (Bytes{4, 5, 6, 1, 2, 3}));

  // One row of red pixels whose alpha runs over both ends and the middle.
  const std::uint8_t alphas[6] = {0, 1, 127, 128, 254, 255};
  Bytes reds;
  for (std::uint8_t alpha : alphas) reds.insert(reds.end(), {200, 0, 0, alpha});
  ASSERT_TRUE(writePng(folder + "/alpha.png", 6, 1, 4, reds));
  ASSERT_TRUE(picture.load((folder + "/alpha.png").c_str()));
  ASSERT_EQ(picture.getComponents(), 4);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(picture.getPixels()[4 * i + 3], alphas[i]) << "pixel " << i;

  // A grey picture with alpha keeps one component, its grey level.
  ASSERT_TRUE(writePng(folder + "/grey_alpha.png", 2, 1, 2, {30, 0, 220, 255}));
  ASSERT_TRUE(picture.load((folder + "/grey_alpha.png").c_str()));
  EXPECT_TRUE(picture.hasAlpha());
  EXPECT_TRUE(picture.isGrey());
  EXPECT_EQ(picture.getComponents(), 1);
  EXPECT_EQ(pixelsOf(picture), (Bytes{30, 220}));
}

TEST(Picture2D, FileThatCannotBeReadIsNamedAndChangesNothing) {
  const std::string folder = scratchFolder("picture_failures");
  ASSERT_TRUE(writePng(folder + "/good.png", 1, 1, 3, {1, 2, 3}));
  { std::ofstream empty(folder + "/empty.png"); }
  { std::ofstream corrupt(folder + "/corrupt.png"); corrupt << "\x89PNG\r\n\x1a\n" << std::string(64, 'x'); }
  Picture2D picture;
  ASSERT_TRUE(picture.load((folder + "/good.png").c_str()));

  // None is a picture (xc:red would be MagickCore's instruction to make one); each message
  // names the file and the system's or the decoder's reason.
  struct Case {
    std::string path, message;
  };
  for (const Case& c : {Case{folder + "/missing.png", "Could not find image file " + folder + "/missing.png: No such file or directory\n"},
                        Case{folder, "Could not find image file " + folder + ": Is a directory\n"},
                        Case{folder + "/corrupt.png", "Could not decode image file " + folder + "/corrupt.png: "},
                        Case{folder + "/empty.png", "Could not decode image file " + folder + "/empty.png: the file is empty\n"},
                        Case{"xc:red", "Could not find image file xc:red: No such file or directory\n"}}) {
    const std::string& path = c.path;
    bool loaded = true;
    std::string output = loadCapturing(picture, path, loaded);
    EXPECT_FALSE(loaded) << path;
    EXPECT_EQ(output.rfind(c.message, 0), 0u) << output;
    if (c.message.back() == ' ') {
      EXPECT_GT(output.size(), c.message.size() + 1) << "the decoder's reason: " << output;
    }
    EXPECT_EQ(picture.getWidth(), 1);
    EXPECT_EQ(picture.getComponents(), 3);
    EXPECT_EQ(pixelsOf(picture), (Bytes{1, 2, 3}));
  }
}

TEST(Picture2D, RefusesAPictureTooLargeBeforeDecodingIt) {
  // The header claims 9000 × 9000 pixels (324 MB as RGBA) over one pixel: refused by size alone.
  const std::string folder = scratchFolder("picture_large");
  const std::string path = folder + "/huge.png";
  ASSERT_TRUE(writePng(path, 1, 1, 3, {1, 2, 3}, 9000, 9000));
  Picture2D picture;
  bool loaded = true;
  std::string output = loadCapturing(picture, path, loaded);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(output.rfind("Could not load image file " + path, 0), 0u) << output;
  EXPECT_NE(output.find("9000 x 9000"), std::string::npos) << output;
  EXPECT_EQ(picture.getPixels(), nullptr);
}

} // namespace
} // namespace quillmere::test
