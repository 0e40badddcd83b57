#include "vrml/ptr_list.h"

#include <cstring>

namespace quillmere {

QvPtrList::~QvPtrList() { delete[] ptrs_; }

void QvPtrList::append(void* pointer) {
  if (num_ == capacity_) {
    int capacity = capacity_ == 0 ? 4 : capacity_ * 2;
    void** grown = new void*[capacity];
    if (num_ > 0) std::memcpy(grown, ptrs_, sizeof(void*) * static_cast<unsigned>(num_));
    delete[] ptrs_;
    ptrs_ = grown;
    capacity_ = capacity;
  }
  ptrs_[num_++] = pointer;
}

int QvPtrList::find(const void* pointer) const {
  for (int i = 0; i < num_; ++i)
    if (ptrs_[i] == pointer) return i;
  return -1;
}

void QvPtrList::remove(int index) {
  if (index < 0 || index >= num_) return;
  std::memmove(ptrs_ + index, ptrs_ + index + 1, sizeof(void*) * static_cast<unsigned>(num_ - index - 1));
  --num_;
}

void QvPtrList::truncate(int length) {
  if (length >= 0 && length < num_) num_ = length;
}

} // namespace quillmere
