#include "vrml/sfields.h"

#include "vrml/input_file.h"

#include <cstring>

namespace quillmere {

namespace {

bool readFloats(QvInputFile& in, float* values, int count) {
  for (int i = 0; i < count; ++i)
    if (!in.read(values[i])) return false;
  return true;
}

// Pixel bytes of an image being read; freed unless released to the field.
struct PixelBuffer {
  unsigned char* bytes = nullptr;
  std::size_t capacity = 0;

  ~PixelBuffer() { delete[] bytes; }
  bool reserve(std::size_t needed, long long total) {
    if (needed <= capacity) return true;
    std::size_t grown = capacity == 0 ? 4096 : capacity * 2;
    if (grown > static_cast<std::size_t>(total)) grown = static_cast<std::size_t>(total);
    if (grown < needed) grown = needed;
    auto* larger = new unsigned char[grown];
    if (capacity > 0) std::memcpy(larger, bytes, capacity);
    delete[] bytes;
    bytes = larger;
    capacity = grown;
    return true;
  }
  unsigned char* release() {
    unsigned char* released = bytes;
    bytes = nullptr;
    return released;
  }
};

} // namespace

bool QvSFEnum::findEnumValue(const QvName& name, int& found) const {
  for (int i = 0; i < numEnums; ++i) {
    if (enumNames[i] == name) {
      found = enumValues[i];
      return true;
    }
  }
  return false;
}

bool QvSFEnum::readValue(QvInputFile& in) {
  QvName name;
  if (!in.read(name, true)) return false;
  if (findEnumValue(name, value)) return true;
  QvInputFile::postReadError(&in, "Unknown QvSFEnum enumeration value \"%s\"", name.getString());
  return false;
}

bool QvSFBitMask::readValue(QvInputFile& in) {
  value = 0;
  char c;
  if (!in.read(c)) return false;
  QvName name;
  int bits;
  if (c != '(') {
    in.putBack(c);
    if (!in.read(name, true)) return false;
    if (findEnumValue(name, value)) return true;
  } else {
    for (;;) {
      // An empty name is skipped: () is 0 and (A|) is A.
      if (in.read(name, true) && !name.isEmpty()) {
        if (!findEnumValue(name, bits)) break;
        value |= bits;
      }
      if (!in.read(c)) {
        QvInputFile::postReadError(&in, "EOF reached before '%c' in QvSFBitMask value", ')');
        return false;
      }
      if (c == ')') return true;
      if (c != '|') {
        QvInputFile::postReadError(&in, "Expected '%c' or '%c', got '%c' in QvSFBitMask value", '|', ')', c);
        return false;
      }
    }
  }
  QvInputFile::postReadError(&in, "Unknown QvSFBitMask bit mask value \"%s\"", name.getString());
  return false;
}

bool QvSFBool::readValue(QvInputFile& in) {
  std::int32_t number;
  if (in.read(number)) {
    if (number == 0 || number == 1) {
      value = number;
      return true;
    }
    QvInputFile::postReadError(&in, "Illegal value for QvSFBool: %d (must be 0 or 1)", number);
    return false;
  }
  QvName word;
  if (!in.read(word, true)) return false;
  if (word == QvName("TRUE")) {
    value = 1;
    return true;
  }
  if (word == QvName("FALSE")) {
    value = 0;
    return true;
  }
  QvInputFile::postReadError(&in, "Unknown value (\"%s\") for QvSFBool (must be TRUE or FALSE)", word.getString());
  return false;
}

bool QvSFColor::readValue(QvInputFile& in) { return readFloats(in, value, 3); }

bool QvSFFloat::readValue(QvInputFile& in) { return in.read(value); }

void QvSFImage::clear() {
  delete[] bytes;
  bytes = nullptr;
  size[0] = size[1] = 0;
  numComponents = 0;
}

bool QvSFImage::readValue(QvInputFile& in) {
  // Read in 64 bits so that no size wraps: 65536 must not become 0, nor
  // 2147483647 become -1, on its way to the check below.
  std::int64_t width, height, components;
  if (!in.read(width) || !in.read(height) || !in.read(components)) return false;
  clear();
  // The byte count is checked before anything is allocated: a negative size,
  // a size the field cannot store, more components than one 32-bit pixel
  // number holds, more pixels than the rest of the file could hold (each
  // needs at least one character), or more bytes than any texture needs is
  // refused. The message shows the numbers as the file wrote them.
  if (width < 0 || height < 0 || components < 0) {
    QvInputFile::postReadError(&in, "Image size %lld x %lld with %lld components is negative",
                               static_cast<long long>(width), static_cast<long long>(height),
                               static_cast<long long>(components));
    return false;
  }
  if (width > kMaxSide || height > kMaxSide || components > kMaxComponents ||
      width * height * components > kMaxImageBytes) { // at most 32767^2 * 4: no overflow
    QvInputFile::postReadError(&in, "Image size %lld x %lld with %lld components is too large",
                               static_cast<long long>(width), static_cast<long long>(height),
                               static_cast<long long>(components));
    return false;
  }
  long long pixels = width * height;
  long long total = pixels * components;
  long long remaining = in.remainingBytes();
  if (remaining >= 0 && pixels > remaining) {
    QvInputFile::postReadError(&in, "Image size %lld x %lld needs %lld pixel values, more than the rest of the file holds",
                               static_cast<long long>(width), static_cast<long long>(height), pixels);
    return false;
  }
  // The array grows with the pixels actually read, so even an image under
  // the bound costs memory only in proportion to the file behind it.
  PixelBuffer buffer;
  for (long long pixel = 0; pixel < pixels; ++pixel) {
    std::uint32_t number;
    if (!in.read(number) || !buffer.reserve(static_cast<std::size_t>((pixel + 1) * components), total)) return false;
    // Byte j holds bits 8(c-1-j) .. 8(c-1-j)+7 of the number.
    for (int j = 0; j < components; ++j) {
      int shift = 8 * (components - 1 - j);
      buffer.bytes[pixel * components + j] = static_cast<unsigned char>(number >> shift);
    }
  }
  bytes = buffer.release();
  size[0] = static_cast<short>(width);
  size[1] = static_cast<short>(height);
  numComponents = static_cast<int>(components);
  return true;
}

bool QvSFLong::readValue(QvInputFile& in) { return in.read(value); }

bool QvSFMatrix::readValue(QvInputFile& in) { return readFloats(in, &value[0][0], 16); }

bool QvSFRotation::readValue(QvInputFile& in) { return readFloats(in, axis, 3) && in.read(angle); }

bool QvSFString::readValue(QvInputFile& in) { return in.read(value); }

bool QvSFVec2f::readValue(QvInputFile& in) { return readFloats(in, value, 2); }

bool QvSFVec3f::readValue(QvInputFile& in) { return readFloats(in, value, 3); }

} // namespace quillmere
