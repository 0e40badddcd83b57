#include "vrml/mfields.h"

#include "vrml/input_file.h"

namespace quillmere {

bool QvMFColor::read1Value(QvInputFile& in, int index) {
  return in.read(values[index][0]) && in.read(values[index][1]) && in.read(values[index][2]);
}

bool QvMFFloat::read1Value(QvInputFile& in, int index) { return in.read(values[index]); }

bool QvMFLong::read1Value(QvInputFile& in, int index) { return in.read(values[index]); }

bool QvMFVec2f::read1Value(QvInputFile& in, int index) {
  return in.read(values[index][0]) && in.read(values[index][1]);
}

bool QvMFVec3f::read1Value(QvInputFile& in, int index) {
  return in.read(values[index][0]) && in.read(values[index][1]) && in.read(values[index][2]);
}

void QvMFString::allocValues(int newNum) {
  if (newNum < 0) newNum = 0;
  values.resize(static_cast<std::size_t>(newNum));
  // Spare room from a list is given back. Not with shrink_to_fit, which
  // hides a failed allocation; that one must fail the read like any other.
  if (values.capacity() > values.size()) {
    std::vector<QvString> exact(values.begin(), values.end());
    values.swap(exact);
  }
  num = maxNum = newNum;
}

bool QvMFString::growForList(int newNum) {
  if (newNum <= maxNum) {
    num = newNum;
    return true;
  }
  long long capacity = listCapacity(newNum, kMaxValues);
  if (capacity < 0) return false;
  values.resize(static_cast<std::size_t>(capacity));
  num = newNum;
  maxNum = static_cast<int>(capacity);
  return true;
}

bool QvMFString::read1Value(QvInputFile& in, int index) {
  return in.read(values[static_cast<std::size_t>(index)]);
}

} // namespace quillmere
