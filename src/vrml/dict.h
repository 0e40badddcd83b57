// A hash dictionary from an interned name's identity to a pointer: the DEF
// table of an input file. It owns its entries, not
// the pointed-to objects. It starts with the bucket count it is made with and
// doubles it whenever the entries reach four per bucket, so a file with
// hundreds of thousands of DEF names is still read in linear time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillmere {

class QvDict {
public:
  using Key = std::uintptr_t; // QvName::key(): pointer-sized, not 32 bits, on 64-bit hosts

  explicit QvDict(int numBuckets = 251); // initial bucket count
  ~QvDict();
  QvDict(const QvDict&) = delete;
  QvDict& operator=(const QvDict&) = delete;

  // Replaces the value of an existing key and returns false, or appends a new
  // entry at the end of the key's bucket chain and returns true.
  bool enter(Key key, void* value);
  // Whether the key is present; `value` is its value, or null when absent.
  bool find(Key key, void*& value) const;
  void clear();
  int getNumEntries() const { return numEntries_; }

private:
  struct Entry {
    Key key;
    void* value;
    Entry* next;
  };

  int numBuckets_;
  Entry** buckets_;

  std::size_t bucketOf(Key key) const;
  void grow();
  int numEntries_ = 0;
};

} // namespace quillmere
