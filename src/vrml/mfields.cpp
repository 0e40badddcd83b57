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

} // namespace quillmere
