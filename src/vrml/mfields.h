// The multiple-value field types: lists of colours, reals, integers and
// vectors, each element stored contiguously in `values`.
#pragma once

#include "vrml/field.h"
#include "vrml/string.h"

#include <cstdint>
#include <vector>

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

// Strings, quoted or as single words. Held in a vector rather than the
// malloc'ed array of the other types: a string owns its characters.
class QvMFString : public QvMField {
public:
  std::vector<QvString> values; // `num` strings in use; the rest is spare room

  QvMFString() { allocValues(1); } // a new field holds one value, set by its node class
  void allocValues(int newNum) override;
  bool read1Value(QvInputFile& in, int index) override;

protected:
  bool growForList(int newNum) override;

private:
  // Like the other types: no list past 2 GB of values.
  static constexpr long long kMaxValues = (1LL << 31) / static_cast<long long>(sizeof(QvString));
};

} // namespace quillmere
