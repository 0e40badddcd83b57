#include "gl/picture_2d.h"

#include "diagnostics/diagnostics.h"
#include "gl/magick_session.h"

#include <magick/MagickCore.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <new>
#include <vector>

namespace quillmere {

namespace {

// Files are read by us and handed to MagickCore as bytes, so the name is
// only ever a path: MagickCore never sees it and cannot take "xc:red",
// "file.png[3]" or "@list" for an instruction. Devices, pipes and folders
// are not pictures, and a file beyond any picture we accept is not read.
constexpr long long kMaxFileBytes = 2 * Picture2D::kMaxPictureBytes;

// False with the reason when the file is not there, not a regular file, too
// large or cannot be read.
bool readRegularFile(const char* fileName, std::vector<unsigned char>& bytes, std::string& reason) {
  struct stat status;
  if (stat(fileName, &status) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    reason = std::strerror(EISDIR);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  if (status.st_size > kMaxFileBytes) {
    reason = "the file is larger than any picture we accept";
    return false;
  }
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  bytes.resize(std::size_t(status.st_size));
  std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  bytes.resize(read);
  return true;
}

// MagickCore's own words for why it failed, or `fallback`.
std::string decoderReason(const ExceptionInfo* exception, const char* fallback) {
  if (!exception || exception->severity == UndefinedException || !exception->reason) return fallback;
  std::string reason = exception->reason;
  if (exception->description) reason += std::string(" (") + exception->description + ")";
  return reason;
}

// The image's size without decoding its pixels; false when MagickCore does
// not recognise the bytes.
bool pingSize(const ImageInfo* info, const unsigned char* bytes, std::size_t size, std::size_t& columns,
              std::size_t& rows, std::string& reason) {
  ExceptionInfo* exception = AcquireExceptionInfo();
  Image* image = PingBlob(info, bytes, size, exception);
  bool found = image != nullptr && image->columns > 0 && image->rows > 0;
  if (image) {
    columns = image->columns;
    rows = image->rows;
    DestroyImageList(image);
  }
  if (!found) reason = decoderReason(exception, "no picture format recognised");
  DestroyExceptionInfo(exception);
  return found;
}

} // namespace

// The conversion of a decoded image into the packed array. Every component
// count is stored bottom row first, so grey, RGB and RGBA pictures reach
// OpenGL the same way up. Alpha is 8 bits with 255 opaque: MagickCore 6
// stores opacity (0 opaque) at its own quantum depth, and both are undone
// through its accessors rather than by taking the low bits.
struct PictureFiller {
  static void fill(Picture2D& picture, Image* image, ExceptionInfo* exception) {
    picture.width_ = int(image->columns);
    picture.height_ = int(image->rows);
    picture.hasAlpha_ = image->matte ? 1 : 0;
    picture.isGrey_ = IsGrayImage(image, exception) ? 1 : 0;
    // A grey picture keeps one component even with alpha.
    picture.components_ = picture.isGrey_ ? 1 : picture.hasAlpha_ ? 4 : 3;
    picture.pixels_.reset();

    const std::size_t columns = image->columns, rows = image->rows;
    const PixelPacket* source = GetVirtualPixels(image, 0, 0, columns, rows, exception);
    const std::size_t count = columns * rows * std::size_t(picture.components_);
    unsigned char* target = source ? new (std::nothrow) unsigned char[count] : nullptr;
    if (!target) {
      printWarning("Convert to RGB: could not allocate memory\n");
      return;
    }
    picture.pixels_.reset(target);
    for (std::size_t row = rows; row-- > 0;) {
      const PixelPacket* pixel = source + row * columns;
      for (std::size_t column = 0; column < columns; ++column, ++pixel) {
        *target++ = ScaleQuantumToChar(GetPixelRed(pixel));
        if (picture.components_ == 1) continue;
        *target++ = ScaleQuantumToChar(GetPixelGreen(pixel));
        *target++ = ScaleQuantumToChar(GetPixelBlue(pixel));
        if (picture.components_ == 4) *target++ = ScaleQuantumToChar(Quantum(GetPixelAlpha(pixel)));
      }
    }
  }
};

bool Picture2D::load(const char* fileName) {
  startMagickCore();
  std::vector<unsigned char> bytes;
  std::string reason;
  if (!readRegularFile(fileName, bytes, reason)) {
    printWarning("Could not find image file %s: %s\n", fileName, reason.c_str());
    return false;
  }
  if (bytes.empty()) {
    printWarning("Could not decode image file %s: the file is empty\n", fileName);
    return false;
  }
  return loadBytes(bytes.data(), bytes.size(), fileName);
}

bool Picture2D::loadBytes(const unsigned char* bytes, std::size_t size, const char* fileName) {
  startMagickCore();
  if (!bytes || size == 0 || size > std::size_t(kMaxFileBytes)) {
    printWarning("Could not decode image file %s: %s\n", fileName, size == 0 ? "it is empty" : "it is too large");
    return false;
  }
  ImageInfo* info = AcquireImageInfo();
  info->scene = 0;
  info->number_scenes = 1; // the first image of an animation or a multi-page file
  bool loaded = false;
  std::size_t columns = 0, rows = 0;
  std::string reason;
  if (!pingSize(info, bytes, size, columns, rows, reason)) {
    printWarning("Could not decode image file %s: %s\n", fileName, reason.c_str());
  } else if (double(columns) * double(rows) * 4.0 > double(kMaxPictureBytes)) {
    printWarning("Could not load image file %s: %zu x %zu pixels are more than a texture may take\n", fileName,
                 columns, rows);
  } else {
    ExceptionInfo* exception = AcquireExceptionInfo();
    Image* image = BlobToImage(info, bytes, size, exception);
    if (!image || image->columns != columns || image->rows != rows) {
      reason = decoderReason(exception, "the pixels do not match the header");
      printWarning("Could not decode image file %s: %s\n", fileName, reason.c_str());
    } else {
      PictureFiller::fill(*this, image, exception);
      loaded = true;
    }
    if (image) DestroyImageList(image);
    DestroyExceptionInfo(exception);
  }
  DestroyImageInfo(info);
  return loaded;
}

} // namespace quillmere
