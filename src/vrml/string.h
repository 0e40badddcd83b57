// The reader's growable NUL-terminated string: words, quoted strings and
// string field values are read into it. Up to 31 characters need no heap.
#pragma once

#include <cstdint>

namespace quillmere {

class QvString {
public:
  QvString();
  QvString(const char* text); // NOLINT: implicit, like the C strings it stands for
  QvString(const QvString& other);
  QvString& operator=(const QvString& other);
  QvString& operator=(const char* text); // safe when `text` points into this string
  ~QvString();

  QvString& operator+=(const char* text);
  // Amortised constant time at every size, so long words read in linear time.
  void append(char c) {
    if (length_ + 1 >= capacity_) reserve(length_ + 1);
    text_[length_++] = c;
    text_[length_] = '\0';
  }
  void makeEmpty(bool freeOld = true);

  const char* getString() const { return text_; }
  int getLength() const { return length_; }
  std::uint32_t hash() const;

  // Heap bytes to allocate when `length` characters plus the NUL no longer
  // fit in `capacity`: doubling, capped at the largest size an int holds.
  // Throws std::bad_alloc when not even that has room.
  static int grownCapacity(int capacity, int length);

  bool operator==(const char* text) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator==(const QvString& other) const { return *this == other.text_; }
  bool operator!=(const QvString& other) const { return !(*this == other.text_); }

private:
  static constexpr int kInlineSize = 32; // bytes inside the object, NUL included

  void reserve(int length); // room for `length` characters plus the NUL
  bool usesHeap() const { return text_ != inline_; }

  char* text_;                 // inline_ or a heap block of capacity_ bytes
  int length_;                 // characters before the NUL
  int capacity_;               // bytes available at text_
  char inline_[kInlineSize];
};

} // namespace quillmere
