#include "vrml/group.h"

#include <unordered_set>
#include <vector>

#include "vrml/input_file.h"
#include "vrml/state.h"

namespace quillmere {

QvFieldTable QvGroup::table_;

QvGroup::QvGroup() { QvFieldSetup setup(this, table_); }

QvGroup::~QvGroup() {
  for (int i = 0; i < children_.getLength(); ++i) children_[i]->unref();
}

void QvGroup::addChild(QvNode* child) {
  children_.append(child); // first: when it cannot grow, the child is not ours
  child->ref();
  if (child->getHeight() + 1 > height_) height_ = child->getHeight() + 1;
}

void QvGroup::traverse(QvState& state) {
  for (int i = 0; i < getNumChildren(); ++i) traverseChild(i, state);
}

void QvGroup::traverseChild(int index, QvState& state) {
  if (state.admitVisit()) getChild(index)->traverse(state);
}

bool QvGroup::readInstance(QvInputFile& in) {
  QvFieldTable* table = getFieldTable();
  // Only a node of an unknown class may declare fields; in a built-in group
  // the word `fields` would start a child.
  if (!isBuiltIn) {
    QvName word;
    if (in.read(word, true) && word == qvFieldsKeyword()) {
      if (!table->readFieldDeclarations(in, this)) {
        QvInputFile::postReadError(&in, "Bad field specifications for node");
        return false;
      }
    } else {
      in.putBack(word.getString());
    }
  }
  // Fields come before the first child: the first word that is not a field
  // name is taken for the first child's keyword.
  return table->read(in, this, false) && readChildren(in);
}

bool QvGroup::readChildren(QvInputFile& in) {
  for (;;) {
    QvNode* child;
    if (!QvNode::read(in, child)) return false;
    if (!child) return true; // closing brace, end of file, or NULL
    try {
      addChild(child);
    } catch (...) {
      if (child->getRefCount() == 0) delete child; // a new node nobody else holds
      throw;
    }
  }
}

QvUnknownNode::QvUnknownNode() { isBuiltIn = false; }

void QvUnknownNode::traverse(QvState&) {}

int countDistinctNodes(QvNode* root) {
  std::unordered_set<QvNode*> seen;
  std::vector<QvNode*> pending{root};
  while (!pending.empty()) {
    QvNode* node = pending.back();
    pending.pop_back();
    if (!node || !seen.insert(node).second) continue;
    if (auto* group = dynamic_cast<QvGroup*>(node))
      for (int i = 0; i < group->getNumChildren(); ++i) pending.push_back(group->getChild(i));
  }
  return static_cast<int>(seen.size());
}

} // namespace quillmere
