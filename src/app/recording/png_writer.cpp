#include "app/recording/png_writer.h"

#include "gl/magick_session.h"

#include <GL/gl.h>
#include <magick/MagickCore.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillmere {

void readViewport(int x, int y, int width, int height, std::vector<std::uint8_t>& rgb) {
  rgb.resize(std::size_t(width) * std::size_t(height) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  if (rgb.size() < std::size_t(width) * std::size_t(height) * 3) {
    std::fprintf(stderr, "Could not write the frame %s: no frame was drawn\n", path.c_str());
    return false;
  }
  // The system's reason when the file cannot be made at all; MagickCore's
  // own report would not say it in the system's words.
  if (std::FILE* probe = std::fopen(path.c_str(), "wb")) {
    std::fclose(probe);
  } else {
    std::fprintf(stderr, "Could not write the frame %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  startMagickCore();
  // MagickCore wants the top row first.
  std::vector<std::uint8_t> topFirst(rgb.size());
  const std::size_t row = std::size_t(width) * 3;
  for (int y = 0; y < height; ++y)
    std::memcpy(&topFirst[std::size_t(height - 1 - y) * row], &rgb[std::size_t(y) * row], row);

  ExceptionInfo* exception = AcquireExceptionInfo();
  Image* image = ConstituteImage(std::size_t(width), std::size_t(height), "RGB", CharPixel, topFirst.data(), exception);
  bool ok = false;
  if (image) {
    ImageInfo* info = AcquireImageInfo();
    CopyMagickString(image->filename, ("png:" + path).c_str(), MaxTextExtent);
    CopyMagickString(info->filename, image->filename, MaxTextExtent);
    ok = WriteImage(info, image) == MagickTrue && image->exception.severity < ErrorException;
    DestroyImageInfo(info);
    DestroyImage(image);
  }
  DestroyExceptionInfo(exception);
  if (!ok) std::fprintf(stderr, "Could not write the frame %s\n", path.c_str());
  return ok;
}

} // namespace quillmere
