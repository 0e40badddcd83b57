#include "vrml/string.h"

#include "vrml/name.h"

#include <climits>
#include <cstring>
#include <new>

namespace quillmere {

QvString::QvString() : text_(inline_), length_(0), capacity_(kInlineSize) { inline_[0] = '\0'; }

QvString::QvString(const char* text) : QvString() { *this = text; }

QvString::QvString(const QvString& other) : QvString() { *this = other.text_; }

QvString& QvString::operator=(const QvString& other) { return *this = other.text_; }

QvString::~QvString() {
  if (usesHeap()) delete[] text_;
}

int QvString::grownCapacity(int capacity, int length) {
  if (length >= INT_MAX) throw std::bad_alloc(); // no room left for the NUL
  long long grown = capacity > 0 ? capacity : 1;
  while (grown <= length) grown *= 2;
  return grown > INT_MAX ? INT_MAX : static_cast<int>(grown);
}

void QvString::reserve(int length) {
  if (length < capacity_) return;
  int capacity = grownCapacity(capacity_, length);
  char* grown = new char[static_cast<std::size_t>(capacity)];
  std::memcpy(grown, text_, static_cast<std::size_t>(length_) + 1);
  if (usesHeap()) delete[] text_;
  text_ = grown;
  capacity_ = capacity;
}

QvString& QvString::operator=(const char* text) {
  if (!text) text = "";
  if (text == text_) return *this;
  // The source may be a tail of our own text; growing would free it, so copy
  // through a temporary in that case.
  bool aliased = text >= text_ && text < text_ + capacity_;
  std::size_t size = std::strlen(text);
  if (size >= static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc(); // beyond what an int measures
  int length = static_cast<int>(size);
  if (aliased) {
    std::memmove(text_, text, static_cast<std::size_t>(length) + 1);
    length_ = length;
    return *this;
  }
  length_ = 0;
  text_[0] = '\0';
  reserve(length);
  std::memcpy(text_, text, static_cast<std::size_t>(length) + 1);
  length_ = length;
  return *this;
}

QvString& QvString::operator+=(const char* text) {
  if (!text || !*text) return *this;
  if (text >= text_ && text < text_ + capacity_) {
    QvString copy(text);
    return *this += copy.text_;
  }
  std::size_t added = std::strlen(text);
  if (added >= static_cast<std::size_t>(INT_MAX - length_)) throw std::bad_alloc(); // beyond what an int measures
  int length = static_cast<int>(added);
  reserve(length_ + length);
  std::memcpy(text_ + length_, text, static_cast<std::size_t>(length) + 1);
  length_ += length;
  return *this;
}

void QvString::makeEmpty(bool freeOld) {
  if (freeOld && usesHeap()) {
    delete[] text_;
    text_ = inline_;
    capacity_ = kInlineSize;
  }
  length_ = 0;
  text_[0] = '\0';
}

std::uint32_t QvString::hash() const { return QvName::hashText(text_); }

bool QvString::operator==(const char* text) const { return std::strcmp(text_, text ? text : "") == 0; }

} // namespace quillmere
