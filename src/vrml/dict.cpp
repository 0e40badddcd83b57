#include "vrml/dict.h"

namespace quillmere {

QvDict::QvDict(int numBuckets)
    : numBuckets_(numBuckets > 0 ? numBuckets : 1), buckets_(new Entry*[numBuckets_]()) {}

QvDict::~QvDict() {
  clear();
  delete[] buckets_;
}

// Keys are addresses, whose low bits are always zero: mix them before
// taking the bucket.
std::size_t QvDict::bucketOf(Key key) const {
  std::uint64_t mixed = static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>((mixed >> 32) % static_cast<std::uint64_t>(numBuckets_));
}

void QvDict::grow() {
  int oldCount = numBuckets_;
  Entry** old = buckets_;
  // Allocated before anything changes: when it fails, the table stays as it was.
  Entry** larger = new Entry*[oldCount * 2 + 1]();
  numBuckets_ = oldCount * 2 + 1;
  buckets_ = larger;
  // Re-linking keeps each chain's order among the keys that stay together.
  for (int i = 0; i < oldCount; ++i) {
    Entry* entry = old[i];
    while (entry) {
      Entry* next = entry->next;
      Entry** link = &buckets_[bucketOf(entry->key)];
      while (*link) link = &(*link)->next;
      entry->next = nullptr;
      *link = entry;
      entry = next;
    }
  }
  delete[] old;
}

bool QvDict::enter(Key key, void* value) {
  Entry** link = &buckets_[bucketOf(key)];
  for (; *link; link = &(*link)->next) {
    if ((*link)->key == key) {
      (*link)->value = value;
      return false;
    }
  }
  *link = new Entry{key, value, nullptr};
  ++numEntries_;
  if (numEntries_ > 4 * numBuckets_ && numBuckets_ < (1 << 28)) grow();
  return true;
}

bool QvDict::find(Key key, void*& value) const {
  for (const Entry* entry = buckets_[bucketOf(key)]; entry; entry = entry->next) {
    if (entry->key == key) {
      value = entry->value;
      return true;
    }
  }
  value = nullptr;
  return false;
}

void QvDict::clear() {
  for (int i = 0; i < numBuckets_; ++i) {
    Entry* entry = buckets_[i];
    while (entry) {
      Entry* next = entry->next;
      delete entry;
      entry = next;
    }
    buckets_[i] = nullptr;
  }
  numEntries_ = 0;
}

} // namespace quillmere
