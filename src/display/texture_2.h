// The display node of a texture: an image (inline in the scene file or from
// an image file) that becomes an OpenGL texture bound by a display list.
// Drawing the node makes the texture current and enables texturing, so every
// shape after it in display-list order that has texture coordinates is
// textured, until the next texture node.
//
// The node is built without an OpenGL context (the conversion also runs in
// tools without a window): it keeps the source pixels, and compileTexture,
// which runs with the context current, rescales them to power-of-two sizes
// the implementation accepts and uploads them.
#pragma once

#include "display/display_node.h"

#include <memory>
#include <string>
#include <vector>

namespace quillmere {

// What a texture is built from, as the scene file gives it.
struct Texture2Source {
  int wrapS = 0;                          // 0 REPEAT, 1 CLAMP; any other value counts as REPEAT
  int wrapT = 0;                          // the same along t
  bool imageGiven = false;                // the file set an inline image
  const unsigned char* image = nullptr;   // its pixels, bottom row first (null when it has none)
  int imageWidth = 0;
  int imageHeight = 0;
  int imageComponents = 0;                // bytes per inline pixel
  std::string fileName;                   // empty: no file
  std::string sceneFolder;                // where a relative file name is looked up first; empty: none
};

// The power-of-two size an image of w0 × h0 pixels is rescaled to: each side
// the smallest power of two at least as large (1 below 2), then both halved
// together while either passes `maxSize`, so the aspect is kept until a side
// reaches 1. False when the result would need more than kMaxTextureBytes at
// `components` bytes per pixel (or a side is not positive).
bool rescaledTextureSize(int w0, int h0, int components, int maxSize, int& width, int& height);

// The file a relative texture name means: beside the scene file when it is
// there, else the name as given (the current directory).
std::string resolveTextureFile(const std::string& fileName, const std::string& sceneFolder);

class DvTexture2 : public DvNode {
public:
  static constexpr long long kMaxTextureBytes = 1LL << 28; // after rescaling

  DvTexture2() = default;
  ~DvTexture2() override = default;

  // Wrap modes and image from the scene file's values. A loaded file takes
  // precedence over an inline image; a file that cannot be loaded leaves the
  // inline image (if any). An image with a component count outside 1..4 or
  // without pixels leaves the node without an image, with a warning.
  void setTextureNode(const Texture2Source& source);

  bool hasImage() const { return hasImage_ != 0; }
  int getComponents() const { return components_; }
  int getSourceWidth() const { return sourceWidth_; }
  int getSourceHeight() const { return sourceHeight_; }
  // The power-of-two size: 0 until compileTexture has rescaled the image.
  int getWidth() const { return width_; }
  int getHeight() const { return height_; }
  int getWrapS() const { return wrapS_; }
  int getWrapT() const { return wrapT_; }
  // The rescaled image, width × height × components bytes, bottom row first.
  const std::vector<unsigned char>& getPixels() const { return pixels_; }
  // The image as obtained, before rescaling (released by compileTexture).
  const std::vector<unsigned char>& getSourcePixels() const { return source_; }
  unsigned getDisplayList() const { return displayList_; }

  // Style 0: binds the texture (the compiled list); styles 1..3 and a node
  // without an image disable texturing.
  void render(const DvRenderState& state, const DrawPass& pass) override;
  void renderSoftware(const DvRenderState& state, const DrawPass& pass) override { render(state, pass); }
  // Once, with the context current: rescales, uploads and compiles the list.
  void compileTexture(DvRenderState& state) override;
  int getType() const override { return Texture2Type; }

private:
  // Adopts width0 × height0 pixels of `components` bytes, or warns and
  // leaves the node without an image when they cannot be a texture.
  void adoptImage(const unsigned char* pixels, int width0, int height0, int components, const char* what);
  bool rescale();
  void upload(const DvRenderState& state) const;

  std::vector<unsigned char> pixels_; // the rescaled image, rows as OpenGL reads them with unpack alignment 1
  std::vector<unsigned char> source_; // the image as obtained, until compileTexture
  int components_ = 0;                // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
  int sourceWidth_ = 0;               // pixels of the image as obtained
  int sourceHeight_ = 0;
  int width_ = 0;                     // power of two, 0 until rescaled
  int height_ = 0;                    // power of two, 0 until rescaled
  int wrapS_ = 0;                     // 0 REPEAT, 1 CLAMP
  int wrapT_ = 0;                     // 0 REPEAT, 1 CLAMP
  int hasImage_ = 0;                  // flag: an image was obtained (and, after compiling, fits)
  unsigned displayList_ = 0;          // OpenGL list name, 0 until compileTexture
  unsigned textureObject_ = 0;        // OpenGL texture name when the render state uses texture objects
};

// Binds again a texture drawn earlier in display-list order (or switches
// texturing off), where the shapes after it have another texture in scope
// than the one bound last: the scene file's Separators scope their textures,
// the display list is flat.
class DvTextureBinding : public DvNode {
public:
  explicit DvTextureBinding(DvTexture2* texture) : texture_(texture) {}

  void render(const DvRenderState& state, const DrawPass& pass) override;
  void renderSoftware(const DvRenderState& state, const DrawPass& pass) override { render(state, pass); }
  int getType() const override { return Texture2Type; }

private:
  DvTexture2* texture_; // not owned (an earlier node of the same scene); null: no texture
};

} // namespace quillmere
