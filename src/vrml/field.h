// Field base classes: a node's typed values, found by name through its class's
// field table, each remembering whether the file set it (the default flag) and
// whether the file marked it with `~` (the ignored flag).
#pragma once

#include "vrml/name.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace quillmere {

class QvInputFile;
class QvNode;

class QvField {
public:
  virtual ~QvField() = default;
  virtual bool readValue(QvInputFile& in) = 0; // the type's own syntax

  void setContainer(QvNode* node); // also sets the default flag

  // One occurrence of the field in a file, after its name: a value, `~`, or a
  // value followed by `~`. `name` only serves the failure message.
  bool read(QvInputFile& in, const QvName& name);

  bool isDefault() const { return (flags_ & kDefaultFlag) != 0; }
  void setDefault(bool on) { flags_ = on ? flags_ | kDefaultFlag : flags_ & ~kDefaultFlag; }
  bool isIgnored() const { return (flags_ & kIgnoredFlag) != 0; }
  void setIgnored(bool on) { flags_ = on ? flags_ | kIgnoredFlag : flags_ & ~kIgnoredFlag; }

  // A new field of the type whose keyword ("SFFloat", "MFVec3f", ...) is
  // exactly `typeName`; null for any other name. The caller owns it.
  static QvField* createFieldFromTypeName(const char* typeName);

protected:
  QvField() = default;

private:
  static constexpr unsigned kDefaultFlag = 1u; // still the node class's value
  static constexpr unsigned kIgnoredFlag = 2u; // marked with `~`

  unsigned flags_ = kDefaultFlag;
  QvNode* container_ = nullptr; // the node owning this field
};

class QvSField : public QvField {};

// Base of the multiple-value types: a bracketed, comma-separated list, or one
// value without brackets.
class QvMField : public QvField {
public:
  int num = 0;    // values held
  int maxNum = 0; // capacity; equal to num except while a list is being read

  bool readValue(QvInputFile& in) override;
  void makeRoom(int newNum) {
    if (newNum != num) allocValues(newNum);
  }
  // Exactly `newNum` values, keeping the existing ones; none (a null array) when newNum <= 0.
  virtual void allocValues(int newNum) = 0;
  virtual bool read1Value(QvInputFile& in, int index) = 0;

protected:
  // After a list: the capacity shrinks to exactly `num` again.
  void trimToNum() {
    if (maxNum != num) allocValues(num);
  }
  // Room for at least `newNum` values with `num` = newNum, growing the
  // capacity geometrically so a list of n values costs O(n). False when the
  // array cannot grow that far.
  virtual bool growForList(int newNum) = 0;

  // The capacity a list growing to `newNum` values takes: doubled (at least
  // 8, at least newNum), at most `maxValues`; −1 when newNum does not fit.
  long long listCapacity(int newNum, long long maxValues) const {
    long long capacity = maxNum < 8 ? 8 : 2LL * maxNum;
    if (capacity < newNum) capacity = newNum;
    if (capacity > maxValues) capacity = maxValues;
    return newNum > capacity ? -1 : capacity;
  }
};

// The storage shared by every multiple-value type: a malloc'ed array of
// trivially copyable elements (float[3] for a colour or a point).
template <typename Element>
class QvMFieldOf : public QvMField {
public:
  Element* values = nullptr; // num values; null when num is 0

  QvMFieldOf() { allocValues(1); } // a new field holds one value, set by its node class
  ~QvMFieldOf() override { std::free(values); }
  QvMFieldOf(const QvMFieldOf&) = delete;
  QvMFieldOf& operator=(const QvMFieldOf&) = delete;

  void allocValues(int newNum) override { resize(newNum, newNum); }

protected:
  bool growForList(int newNum) override {
    if (newNum <= maxNum) {
      num = newNum;
      return true;
    }
    long long capacity = listCapacity(newNum, kMaxValues);
    if (capacity < 0) return false;
    if (!resize(static_cast<int>(capacity), static_cast<int>(capacity))) return false;
    num = newNum;
    return true;
  }

private:
  // No field holds more than 2 GB: far beyond any scene, and it keeps every
  // size computation inside 32 bits.
  static constexpr long long kMaxValues = (1LL << 31) / static_cast<long long>(sizeof(Element));

  bool resize(int newNum, int capacity) {
    if (capacity <= 0) {
      std::free(values);
      values = nullptr;
      num = maxNum = 0;
      return true;
    }
    if (capacity > kMaxValues) return false;
    void* grown = std::realloc(values, sizeof(Element) * static_cast<std::size_t>(capacity));
    if (!grown) throw std::bad_alloc(); // reported like every other failed allocation of a read
    values = static_cast<Element*>(grown);
    // New slots are zeroed so a value that fails to read is never garbage.
    if (capacity > maxNum) {
      int start = maxNum < 0 ? 0 : maxNum;
      std::memset(values + start, 0, sizeof(Element) * static_cast<std::size_t>(capacity - start));
    }
    num = newNum;
    maxNum = capacity;
    return true;
  }
};

} // namespace quillmere
