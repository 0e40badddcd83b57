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

} // namespace quillmere
