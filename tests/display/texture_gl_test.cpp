// Textures drawn for real: four coloured quadrants probed where their texture
// coordinates put them on the screen; a picture upside down or mirrored shows wrong colours.
#include "../support/png_file.h"
#include "display_gl_fixture.h"

#include "display/texture_2.h"


namespace quillmere::test {
namespace {

struct Rgb {
  int r, g, b;
};

// Bottom left, bottom right, top left, top right (t grows upwards).
const Rgb kQuadrant[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
const Rgb kGreyQuadrant[4] = {{40, 40, 40}, {100, 100, 100}, {160, 160, 160}, {220, 220, 220}};

// A white square of side 4 at z = 5, s and t running 0..sMax, 0..1 from (2, −2); s grows
// towards −x, which is to the right seen along +z, so the picture reads as in its file.
std::string texturedSquare(const std::string& texture, float sMax = 1) {
  std::string s = std::to_string(sMax);
  return "Separator { Material { diffuseColor 1 1 1 } " + texture +
         " TextureCoordinate2 { point [0 0, " + s + " 0, " + s + " 1, 0 1] } "
         "Coordinate3 { point [2 -2 5, -2 -2 5, -2 2 5, 2 2 5] } " +
         kFacingNormals + "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1] } }";
}

// A size × size picture of four quadrants, `channels` bytes per pixel
// (grey pictures take the grey levels), top row first as a file stores it.
std::vector<std::uint8_t> quadrantPicture(int size, int channels) {
  std::vector<std::uint8_t> bytes;
  for (int row = 0; row < size; ++row)
    for (int column = 0; column < size; ++column) {
      bool top = row < size / 2, right = column >= size / 2;
      int q = (top ? 2 : 0) + (right ? 1 : 0);
      if (channels <= 2) {
        bytes.push_back(std::uint8_t(kGreyQuadrant[q].r));
      } else {
        bytes.insert(bytes.end(), {std::uint8_t(kQuadrant[q].r), std::uint8_t(kQuadrant[q].g),
                                   std::uint8_t(kQuadrant[q].b)});
      }
      if (channels == 2 || channels == 4) bytes.push_back(255);
    }
  return bytes;
}

// The inline image of the same four quadrants, 4 × 4, bottom row first.
std::string inlineQuadrants() {
  std::string image = "image 4 4 3";
  char number[16];
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      const Rgb& c = kQuadrant[(row >= 2 ? 2 : 0) + (column >= 2 ? 1 : 0)];
      std::snprintf(number, sizeof number, " 0x%02x%02x%02x", c.r, c.g, c.b);
      image += number;
    }
  return image;
}

class TextureGL : public DisplayGL {
protected:

  // The pixel showing the square's point at texture coordinates (s, t) when s runs 0..sMax.
  void pixelAt(float s, float t, int& x, int& y, float sMax = 1) {
    float px, py;
    project(observerAlongZ(0), Vector3(2 - 4 * s / sMax, -2 + 4 * t, 5), px, py);
    x = int(px);
    y = int(py);
  }

  // Compiles the scene's textures and draws it once, with `given` or without mipmaps as scene loading sets it.
  Frame compileAndDraw(ConvertedScene& scene, DvRenderState* given = nullptr) {
    DvRenderState fresh;
    fresh.buildMipmaps = 0;
    DvRenderState& state = given ? *given : fresh;
    scene.root->compileTexture(state);
    return draw(*scene.root, observerAlongZ(0), state);
  }

  // Every quadrant shows its colour at the centre of its texture coordinates.
  void expectQuadrants(const Frame& frame, const Rgb (&colours)[4], const std::string& what) {
    for (int q = 0; q < 4; ++q) {
      int x, y;
      pixelAt(q % 2 ? 0.75f : 0.25f, q >= 2 ? 0.75f : 0.25f, x, y);
      Pixel p = frame.at(x, y);
      // Full white light along the normal on a white material: the texel
      // itself, within a few levels of rounding.
      EXPECT_NEAR(p.r, colours[q].r, 6) << what << ", quadrant " << q;
      EXPECT_NEAR(p.g, colours[q].g, 6) << what << ", quadrant " << q;
      EXPECT_NEAR(p.b, colours[q].b, 6) << what << ", quadrant " << q;
    }
  }
};

TEST_F(TextureGL, EveryPictureLandsTheRightWayUp) {
  const std::string folder = scratchFolder("texture_gl");
  ASSERT_TRUE(writePng(folder + "/rgb.png", 4, 4, 3, quadrantPicture(4, 3)));
  ASSERT_TRUE(writePng(folder + "/rgba.png", 4, 4, 4, quadrantPicture(4, 4)));
  ASSERT_TRUE(writePng(folder + "/grey.png", 4, 4, 1, quadrantPicture(4, 1)));
  ASSERT_TRUE(writePng(folder + "/odd.png", 6, 6, 3, quadrantPicture(6, 3))); // rescaled to 8 × 8
  ConversionOptions options;
  options.sceneFolder = folder;

  struct Case {
    const char* name;
    std::string texture;
    const Rgb (&colours)[4];
  };
  const Case cases[] = {{"rgb", "Texture2 { filename \"rgb.png\" }", kQuadrant},
                        {"rgba", "Texture2 { filename \"rgba.png\" }", kQuadrant},
                        {"grey", "Texture2 { filename \"grey.png\" }", kGreyQuadrant},
                        {"odd", "Texture2 { filename \"odd.png\" }", kQuadrant},
                        {"inline", "Texture2 { " + inlineQuadrants() + " }", kQuadrant}};
  for (const Case& c : cases) {
    ConvertedScene scene = convert(texturedSquare(c.texture), options);
    // A texture file's name is echoed on standard error as it is loaded; nothing else is said.
    const std::string echo = c.texture.find("filename") != std::string::npos ? std::string(c.name) + ".png\n" : "";
    ASSERT_EQ(scene.output, echo) << c.name;
    Frame frame = compileAndDraw(scene);
    frame.saveForInspection(std::string("texture_") + c.name);
    expectQuadrants(frame, c.colours, c.name);
  }

  // Texture objects or not, mipmaps or not: the same picture.
  for (int objects : {0, 1})
    for (int mipmaps : {0, 1}) {
      ConvertedScene scene = convert(texturedSquare("Texture2 { filename \"rgb.png\" }"), options);
      DvRenderState settings;
      settings.textureObjects = objects;
      settings.buildMipmaps = mipmaps;
      Frame frame = compileAndDraw(scene, &settings);
      frame.saveForInspection("texture_objects" + std::to_string(objects) + "_mipmaps" + std::to_string(mipmaps));
      expectQuadrants(frame, kQuadrant, "objects " + std::to_string(objects) + ", mipmaps " + std::to_string(mipmaps));
      frame = draw(*scene.root, observerAlongZ(0), settings); // a second frame through the list alone
      expectQuadrants(frame, kQuadrant, "second frame");
    }
}

TEST_F(TextureGL, CubeShowsThePictureUprightOnTheFaceTowardsTheObserver) {
  // A cube of side 4 centred at z = 7: its −z face is the square the other tests draw.
  ConvertedScene scene = convert("Separator { Material { diffuseColor 1 1 1 } Texture2 { " + inlineQuadrants() +
                                 " } Translation { translation 0 0 7 } Cube { width 4 height 4 depth 4 } }");
  Frame frame = compileAndDraw(scene);
  frame.saveForInspection("textured_cube");
  expectQuadrants(frame, kQuadrant, "cube");
}

TEST_F(TextureGL, ClampHoldsTheEdgeWhereRepeatStartsOver) {
  // Left half red, right half green; s runs to 2 across the square.
  const std::string image = "image 4 1 3 0xff0000 0xff0000 0x00ff00 0x00ff00";
  for (const char* wrap : {"REPEAT", "CLAMP"}) {
    ConvertedScene scene = convert(texturedSquare("Texture2 { " + image + " wrapS " + wrap + " }", 2));
    Frame frame = compileAndDraw(scene);
    frame.saveForInspection(std::string("texture_wrap_") + wrap);
    int x, y;
    pixelAt(0.25f, 0.5f, x, y, 2);
    EXPECT_GT(frame.at(x, y).r, 245) << wrap;
    pixelAt(0.75f, 0.5f, x, y, 2);
    EXPECT_GT(frame.at(x, y).g, 245) << wrap;
    pixelAt(1.25f, 0.5f, x, y, 2);
    Pixel beyond = frame.at(x, y);
    if (std::string(wrap) == "REPEAT") {
      EXPECT_GT(beyond.r, 245); // the picture again from its left edge
      EXPECT_LT(beyond.g, 10);
    } else {
      // Clamped to the last texel's centre: full green, no dark band from the border colour.
      EXPECT_LT(beyond.r, 10);
      EXPECT_GT(beyond.g, 245);
    }
  }
}

TEST_F(TextureGL, TextureThatCannotBeLoadedLeavesShapesUntextured) {
  // A texture drawn first leaves texturing on; the node whose file is
  // missing must switch it off for the yellow square after it.
  DvRenderState state;
  state.buildMipmaps = 0;
  ConvertedScene textured = convert(texturedSquare("Texture2 { " + inlineQuadrants() + " }"));
  compileAndDraw(textured, &state);
  ASSERT_TRUE(glIsEnabled(GL_TEXTURE_2D));

  ConvertedScene scene = convert("Separator { Texture2 { filename \"nowhere/missing.png\" } "
                                 "Material { diffuseColor 1 1 0 } TextureCoordinate2 { point [0 0, 1 0, 1 1, 0 1] } "
                                 "Coordinate3 { point [-2 -2 5, 2 -2 5, 2 2 5, -2 2 5] } " +
                                 kFacingNormals + "IndexedFaceSet { coordIndex [0, 1, 2, 3, -1] } }");
  Frame frame = compileAndDraw(scene, &state);
  frame.saveForInspection("texture_missing_file");
  auto* texture = childAs<DvTexture2>(*scene.root, kFirstConverted);
  ASSERT_TRUE(texture);
  EXPECT_EQ(texture->getDisplayList(), 0u); // nothing to compile
  for (float s : {0.25f, 0.75f}) {
    int x, y;
    pixelAt(s, s, x, y);
    Pixel p = frame.at(x, y);
    EXPECT_GT(p.r, 245);
    EXPECT_GT(p.g, 245);
    EXPECT_LT(p.b, 10);
  }

  // In wireframe every texture node switches texturing off, loaded or not.
  state.renderStyle = RenderStyle::Wireframe;
  draw(*textured.root, observerAlongZ(0), state);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

} // namespace
} // namespace quillmere::test
