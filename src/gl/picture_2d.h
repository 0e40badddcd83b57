// An image file decoded through ImageMagick (MagickCore) into a packed array
// of 8-bit pixels, ready to be handed to OpenGL as a texture: one component
// (grey), three (RGB) or four (RGBA, alpha 255 opaque), rows bottom first as
// OpenGL and VRML's inline images order them, whatever the component count.
// Only the first image of a multi-image file is read.
#pragma once

#include <cstddef>
#include <memory>

namespace quillmere {

class Picture2D {
public:
  // A picture larger than this many bytes at four components is refused
  // before its pixels are decoded: no file makes us allocate beyond it.
  static constexpr long long kMaxPictureBytes = 1LL << 28;

  Picture2D() = default;
  Picture2D(const Picture2D&) = delete;
  Picture2D& operator=(const Picture2D&) = delete;

  // Decodes the regular file `fileName` (any format ImageMagick recognises
  // by its content). False when it cannot, with a message on standard error
  // that names the file and says why: "Could not find image file NAME:" and
  // the system's reason when it cannot be read, "Could not decode image file
  // NAME:" and the decoder's reason when it holds no picture we can use. The
  // fields then keep their old values.
  // A successful load replaces (and releases) what an earlier one held.
  bool load(const char* fileName);
  // The same for an image file's bytes already in memory (a picture
  // embedded in a model file); `name` stands for it in messages.
  bool loadBytes(const unsigned char* bytes, std::size_t size, const char* name);

  int getComponents() const { return components_; }
  int getWidth() const { return width_; }
  int getHeight() const { return height_; }
  bool hasAlpha() const { return hasAlpha_ != 0; }
  bool isGrey() const { return isGrey_ != 0; }
  // width × height × components bytes, bottom row first; null when the
  // array could not be allocated (or before a load).
  const unsigned char* getPixels() const { return pixels_.get(); }
  std::size_t byteCount() const { return pixels_ ? std::size_t(width_) * std::size_t(height_) * std::size_t(components_) : 0; }

private:
  friend struct PictureFiller; // fills the fields from a decoded image

  int components_ = 0;                     // bytes per pixel: 1 grey, 3 RGB, 4 RGBA
  int width_ = 0;                          // columns
  int height_ = 0;                         // rows
  int hasAlpha_ = 0;                       // flag: the decoded image has a matte (alpha) channel
  int isGrey_ = 0;                         // flag: ImageMagick classifies the image as greyscale
  std::unique_ptr<unsigned char[]> pixels_; // the converted image, owned
};

} // namespace quillmere
