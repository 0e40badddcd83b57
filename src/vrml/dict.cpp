#include "vrml/dict.h"

namespace quillmere {

QvDict::QvDict(int numBuckets)
    : numBuckets_(numBuckets > 0 ? numBuckets : 1), buckets_(new Entry*[numBuckets_]()) {}

QvDict::~QvDict() {
  clear();
  delete[] buckets_;
}

bool QvDict::enter(Key key, void* value) {
  Entry** link = &buckets_[key % static_cast<Key>(numBuckets_)];
  for (; *link; link = &(*link)->next) {
    if ((*link)->key == key) {
      (*link)->value = value;
      return false;
    }
  }
  *link = new Entry{key, value, nullptr};
  ++numEntries_;
  return true;
}

bool QvDict::find(Key key, void*& value) const {
  for (const Entry* entry = buckets_[key % static_cast<Key>(numBuckets_)]; entry; entry = entry->next) {
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
