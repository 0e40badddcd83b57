// The single-value field types. Vectors, colours and rotations are floats in
// the scene's units; rotation angles are radians.
#pragma once

#include "vrml/field.h"
#include "vrml/string.h"

#include <cstdint>

namespace quillmere {

// A name out of a fixed set, each standing for an integer. The legal names
// belong to the node class's field table; the field only points at them.
class QvSFEnum : public QvSField {
public:
  int value = 0;
  int numEnums = 0;                    // legal names
  const int* enumValues = nullptr;     // numEnums values, parallel to enumNames
  const QvName* enumNames = nullptr;   // numEnums names

  bool readValue(QvInputFile& in) override;
  bool findEnumValue(const QvName& name, int& found) const;
};

// An enumeration whose names are bits: one name, or names joined by `|`
// inside parentheses.
class QvSFBitMask : public QvSFEnum {
public:
  bool readValue(QvInputFile& in) override;
};

class QvSFBool : public QvSField {
public:
  int value = 0; // 0 or 1
  bool readValue(QvInputFile& in) override;
};

class QvSFColor : public QvSField {
public:
  float value[3] = {}; // red, green, blue
  bool readValue(QvInputFile& in) override;
};

class QvSFFloat : public QvSField {
public:
  float value = 0;
  bool readValue(QvInputFile& in) override;
};

// Pixels as read, first pixel first, each split into numComponents bytes,
// most significant first.
class QvSFImage : public QvSField {
public:
  // Images beyond this many bytes are refused before anything is allocated.
  static constexpr long long kMaxImageBytes = 1LL << 28;
  static constexpr int kMaxComponents = 4; // bytes in one pixel's 32-bit number
  static constexpr int kMaxSide = 32767;   // pixels of a width or height: what `size` holds

  short size[2] = {0, 0};         // width, height in pixels
  int numComponents = 0;          // bytes per pixel
  unsigned char* bytes = nullptr; // width * height * numComponents bytes, or null

  QvSFImage() = default;
  ~QvSFImage() override { delete[] bytes; }
  QvSFImage(const QvSFImage&) = delete;
  QvSFImage& operator=(const QvSFImage&) = delete;
  bool readValue(QvInputFile& in) override;

private:
  void clear();
};

class QvSFLong : public QvSField {
public:
  std::int32_t value = 0;
  bool readValue(QvInputFile& in) override;
};

class QvSFMatrix : public QvSField {
public:
  float value[4][4] = {}; // row by row, as written in the file
  bool readValue(QvInputFile& in) override;
};

class QvSFRotation : public QvSField {
public:
  float axis[3] = {};
  float angle = 0; // radians
  bool readValue(QvInputFile& in) override;
};

class QvSFString : public QvSField {
public:
  QvString value;
  bool readValue(QvInputFile& in) override;
};

class QvSFVec2f : public QvSField {
public:
  float value[2] = {};
  bool readValue(QvInputFile& in) override;
};

class QvSFVec3f : public QvSField {
public:
  float value[3] = {};
  bool readValue(QvInputFile& in) override;
};

} // namespace quillmere
