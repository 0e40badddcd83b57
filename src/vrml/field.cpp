#include "vrml/field.h"

#include "vrml/input_file.h"
#include "vrml/mfields.h"
#include "vrml/sfields.h"

namespace quillmere {

void QvField::setContainer(QvNode* node) {
  container_ = node;
  setDefault(true);
}

bool QvField::read(QvInputFile& in, const QvName& name) {
  setDefault(false);
  char c;
  if (in.read(c) && c == '~') {
    // `~` alone: the field keeps its value and counts as not given.
    setDefault(true);
    setIgnored(true);
    return true;
  }
  setIgnored(false);
  in.putBack(c);
  if (!readValue(in)) {
    QvInputFile::postReadError(&in, "Couldn't read value for field \"%s\"", name.getString());
    return false;
  }
  if (in.read(c)) {
    if (c == '~')
      setIgnored(true);
    else
      in.putBack(c);
  }
  return true;
}

bool QvMField::readValue(QvInputFile& in) {
  char c;
  if (!in.read(c) || c != '[') {
    // A single value may stand without brackets.
    in.putBack(c);
    makeRoom(1);
    return read1Value(in, 0);
  }
  if (in.read(c) && c == ']') {
    makeRoom(0);
    return true;
  }
  in.putBack(c);
  int index = 0;
  for (;;) {
    if (index >= num && !growForList(index + 1)) {
      QvInputFile::postReadError(&in, "Too many values in field (more than %d)", index);
      trimToNum();
      return false;
    }
    bool readOk = read1Value(in, index++);
    if (!readOk || !in.read(c)) {
      QvInputFile::postReadError(&in, "Couldn't read value %d of field", index);
      trimToNum();
      return false;
    }
    if (c == ',') {
      // A comma may also stand before the closing bracket.
      if (in.read(c)) {
        if (c == ']') break;
        in.putBack(c);
      }
      continue;
    }
    if (c == ']') break;
    if (in.isLenient()) { // values separated by blanks only
      in.putBack(c);
      continue;
    }
    QvInputFile::postReadError(&in, "Expected '%c' or '%c' but got '%c' while reading value %d", ',', ']', c,
                               index);
    trimToNum();
    return false;
  }
  if (index < num) makeRoom(index);
  trimToNum();
  return true;
}

QvField* QvField::createFieldFromTypeName(const char* typeName) {
  QvName type(typeName);
  if (type == QvName("MFColor")) return new QvMFColor;
  if (type == QvName("MFFloat")) return new QvMFFloat;
  if (type == QvName("MFLong")) return new QvMFLong;
  if (type == QvName("MFString")) return new QvMFString;
  if (type == QvName("MFVec2f")) return new QvMFVec2f;
  if (type == QvName("MFVec3f")) return new QvMFVec3f;
  if (type == QvName("SFBitMask")) return new QvSFBitMask;
  if (type == QvName("SFBool")) return new QvSFBool;
  if (type == QvName("SFColor")) return new QvSFColor;
  if (type == QvName("SFEnum")) return new QvSFEnum;
  if (type == QvName("SFFloat")) return new QvSFFloat;
  if (type == QvName("SFImage")) return new QvSFImage;
  if (type == QvName("SFLong")) return new QvSFLong;
  if (type == QvName("SFMatrix")) return new QvSFMatrix;
  if (type == QvName("SFRotation")) return new QvSFRotation;
  if (type == QvName("SFString")) return new QvSFString;
  if (type == QvName("SFVec2f")) return new QvSFVec2f;
  if (type == QvName("SFVec3f")) return new QvSFVec3f;
  return nullptr;
}

} // namespace quillmere
