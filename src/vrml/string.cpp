#include "vrml/string.h"

#include "vrml/name.h"

#include <cstring>

namespace quillmere {

QvString::QvString() : text_(inline_), length_(0), capacity_(kInlineSize) { inline_[0] = '\0'; }

QvString::QvString(const char* text) : QvString() { *this = text; }

QvString::QvString(const QvString& other) : QvString() { *this = other.text_; }

QvString& QvString::operator=(const QvString& other) { return *this = other.text_; }

QvString::~QvString() {
  if (usesHeap()) delete[] text_;
}

void QvString::reserve(int length) {
  if (length < capacity_) return;
  int capacity = capacity_;
  while (capacity <= length) capacity = capacity > (1 << 29) ? length + 1 : capacity * 2;
  char* grown = new char[capacity];
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
  int length = static_cast<int>(std::strlen(text));
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
  int length = static_cast<int>(std::strlen(text));
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
