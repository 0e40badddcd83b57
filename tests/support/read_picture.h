// Screenshots and recorded frames read back through MagickCore, for the
// tests that run the program itself.
#pragma once

#include "gl/magick_session.h"

#include <magick/MagickCore.h>

#include <string>
#include <vector>

namespace quillmere::test {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb; // top row first
  const unsigned char* at(int x, int y) const { return &rgb[std::size_t(3 * (y * width + x))]; }
  bool isBlack(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2] == 0; }
};

// The picture at `path`, 8 bits per channel; empty when it cannot be read.
inline Picture readPicture(const std::string& path) {
  startMagickCore();
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

} // namespace quillmere::test
