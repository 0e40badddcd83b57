// The multiple-value field types: lists of colours, reals, integers and
// vectors, each element stored contiguously in `values`.
#pragma once

#include "vrml/field.h"

#include <cstdint>

namespace quillmere {

class QvMFColor : public QvMFieldOf<float[3]> { // red, green, blue
public:
  bool read1Value(QvInputFile& in, int index) override;
};

class QvMFFloat : public QvMFieldOf<float> {
public:
  bool read1Value(QvInputFile& in, int index) override;
};

class QvMFLong : public QvMFieldOf<std::int32_t> {
public:
  bool read1Value(QvInputFile& in, int index) override;
};

class QvMFVec2f : public QvMFieldOf<float[2]> {
public:
  bool read1Value(QvInputFile& in, int index) override;
};

class QvMFVec3f : public QvMFieldOf<float[3]> {
public:
  bool read1Value(QvInputFile& in, int index) override;
};

} // namespace quillmere
