// Growable lists of untyped pointers: a group's children. Destroying a list
// frees only its array, never the pointed-to objects.
#pragma once

namespace quillmere {

class QvNode;

class QvPtrList {
public:
  QvPtrList() = default;
  ~QvPtrList();
  QvPtrList(const QvPtrList&) = delete;
  QvPtrList& operator=(const QvPtrList&) = delete;

  // Capacity starts at 4 and doubles, so appending n pointers costs O(n).
  void append(void* pointer);
  int getLength() const { return num_; }
  void* operator[](int index) const { return ptrs_[index]; }

private:
  void** ptrs_ = nullptr; // num_ used slots of capacity_
  int num_ = 0;
  int capacity_ = 0;
};

// The children of a group. A child may stand in several lists (through USE).
class QvChildList : public QvPtrList {
public:
  QvNode* operator[](int index) const { return static_cast<QvNode*>(QvPtrList::operator[](index)); }
};

} // namespace quillmere
