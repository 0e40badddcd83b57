// What every class of the node catalogue declares: its static field table,
// its keyword and its visit. Kept in one macro so the forty-two classes cannot
// drift apart.
#pragma once

#include "vrml/field_table.h"
#include "vrml/mfields.h"
#include "vrml/node.h"
#include "vrml/sfields.h"

#define QV_NODE_HEADER(keyword)                                          \
public:                                                                  \
  QvFieldTable* getFieldTable() const override { return &table_; }       \
  const char* getKeyword() const override { return keyword; }            \
  void traverse(QvState& state) override;                                \
                                                                         \
private:                                                                 \
  static QvFieldTable table_;                                            \
                                                                         \
public:

namespace quillmere {

class QvState;

// A property visit: one element standing for `node`, on `stack`, at the
// state's current depth.
void qvPushElement(QvState& state, int stack, int type, QvNode* node);

inline void qvSetVec3(float (&value)[3], float x, float y, float z) {
  value[0] = x;
  value[1] = y;
  value[2] = z;
}

} // namespace quillmere
