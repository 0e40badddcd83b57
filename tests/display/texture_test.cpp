// Texture nodes without an OpenGL context: the images they keep or refuse, and their sizes.
#include "../support/png_file.h"
#include "../support/converted_scene.h"

#include "display/indexed_face_set.h"
#include "display/texture_2.h"

#include <unistd.h>

namespace quillmere::test {
namespace {

using Bytes = std::vector<unsigned char>;

TEST(TextureSize, RoundsUpToPowersOfTwoWithinTheCaps) {
  struct Case {
    int w0, h0, components, maxSize;
    bool fits;
    int width, height;
  };
  const Case cases[] = {
      {100, 50, 3, 16384, true, 128, 64},
      {64, 64, 4, 16384, true, 64, 64},
      {1, 1, 1, 16384, true, 1, 1},
      {3, 1, 3, 16384, true, 4, 1},
      // Beyond the size both sides halve together, keeping 64:1; a side of 1 cannot halve.
      {1000, 10, 3, 256, true, 256, 4},
      {1000, 1, 3, 256, true, 256, 1},
      // At most 256 MB: 16384 × 8192 at two bytes is exactly 2^28; 8193 rounds up to 16384.
      {16384, 8192, 2, 16384, true, 16384, 8192},
      {16384, 8192, 4, 16384, false, 16384, 8192},
      {8193, 8193, 2, 16384, false, 16384, 16384},
      {0, 4, 3, 16384, false, 0, 0},
  };
  for (const Case& c : cases) {
    int width = 0, height = 0;
    EXPECT_EQ(rescaledTextureSize(c.w0, c.h0, c.components, c.maxSize, width, height), c.fits)
        << c.w0 << " x " << c.h0 << " x " << c.components;
    if (c.width > 0) {
      EXPECT_EQ(width, c.width) << c.w0 << " x " << c.h0;
      EXPECT_EQ(height, c.height) << c.w0 << " x " << c.h0;
    }
  }
}

TEST(Texture2Conversion, KeepsAFileBesideTheSceneOrInTheWorkingDirectoryAndRefusesEmptyImages) {
  // Zero components (the numbers carry no bytes) and zero columns.
  for (const char* image : {"2 2 0 0 0 0 0", "0 3 3"}) {
    ConvertedScene scene = convert(std::string("Texture2 { image ") + image + " }");
    ASSERT_TRUE(scene.result.ok) << image;
    auto* texture = childAs<DvTexture2>(*scene.root, kFirstConverted);
    ASSERT_TRUE(texture) << image;
    EXPECT_FALSE(texture->hasImage()) << image;
    EXPECT_EQ(scene.output.rfind("Texture2: the inline image has ", 0), 0u) << scene.output;
    EXPECT_NE(scene.output.find("the node has no image"), std::string::npos) << scene.output;
  }

  const std::string folder = scratchFolder("texture_files");
  const std::string elsewhere = scratchFolder("texture_elsewhere");
  // Top row red, bottom row blue: kept bottom row first.
  ASSERT_TRUE(writePng(folder + "/tex.png", 1, 2, 3, {255, 0, 0, 0, 0, 255}));
  const Bytes bottomFirst = {0, 0, 255, 255, 0, 0};
  // The file wins over an inline image (which the reader then drops).
  const std::string body = "Texture2 { filename \"tex.png\" image 1 1 3 0xffffff }";

  ConversionOptions beside;
  beside.sceneFolder = folder;
  ConvertedScene found = convert(body, beside);
  auto* texture = childAs<DvTexture2>(*found.root, kFirstConverted);
  ASSERT_TRUE(texture);
  EXPECT_TRUE(texture->hasImage());
  EXPECT_EQ(texture->getSourceHeight(), 2);
  EXPECT_EQ(texture->getSourcePixels(), bottomFirst);
  EXPECT_EQ(found.output, "tex.png\n"); // the name echoed as it loads, no warning

  // Not beside the scene: tried in the working directory, and named when not there either.
  ConversionOptions otherScene;
  otherScene.sceneFolder = elsewhere;
  ConvertedScene missing = convert(body, otherScene);
  texture = childAs<DvTexture2>(*missing.root, kFirstConverted);
  ASSERT_TRUE(texture);
  EXPECT_FALSE(texture->hasImage());
  EXPECT_EQ(missing.output.rfind("tex.png\nCould not find image file tex.png", 0), 0u) << missing.output;

  char saved[4096];
  ASSERT_TRUE(getcwd(saved, sizeof saved));
  ASSERT_EQ(chdir(folder.c_str()), 0);
  ConvertedScene inWorkingDirectory = convert(body, otherScene);
  ASSERT_EQ(chdir(saved), 0);
  texture = childAs<DvTexture2>(*inWorkingDirectory.root, kFirstConverted);
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->getSourcePixels(), bottomFirst);
}

} // namespace
} // namespace quillmere::test
