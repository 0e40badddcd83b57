// Nodes that hold children: the plain group, the base of every grouping node
// of the catalogue, and the node of an unknown class that declares its fields.
#pragma once

#include "vrml/field_table.h"
#include "vrml/node.h"
#include "vrml/ptr_list.h"
#include "vrml/string.h"

namespace quillmere {

class QvGroup : public QvNode {
public:
  QvGroup();
  ~QvGroup() override; // releases its reference to each child

  QvFieldTable* getFieldTable() const override { return &table_; }
  void traverse(QvState& state) override; // every child in order, no scope of its own
  bool readInstance(QvInputFile& in) override;
  const char* getKeyword() const override { return "Group"; }

  // Child nodes up to the closing brace or a `NULL`.
  bool readChildren(QvInputFile& in);

  int getNumChildren() const { return children_.getLength(); }
  QvNode* getChild(int index) const { return children_[index]; }
  void addChild(QvNode* child); // takes a reference

protected:
  void traverseChild(int index, QvState& state);

private:
  static QvFieldTable table_;
  QvChildList children_;
};

// A node whose keyword the reader does not know but whose body begins with a
// `fields` declaration list: it holds the declared fields, then children.
class QvUnknownNode : public QvGroup {
public:
  QvUnknownNode();

  QvFieldTable* getFieldTable() const override { return &table_; }
  void traverse(QvState& state) override; // converts nothing, children included
  const char* getKeyword() const override { return className_.getString(); }
  void setClassName(const char* name) { className_ = name; }

private:
  QvString className_;           // the keyword as written in the file
  mutable QvFieldTable table_;   // this instance's declared fields, owned
};

// Distinct nodes of the tree under `root`, the root included: a node reached
// through several USEs counts once. Iterative, so deep trees cannot exhaust
// the stack.
int countDistinctNodes(QvNode* root);

} // namespace quillmere
