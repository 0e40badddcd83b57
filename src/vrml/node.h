// The node base class of the scene-file reader, the DEF/USE mechanism and
// the top-level read.
//
// Ownership: nodes are reference counted. A group holds one reference to
// each entry of its child list, so a node reached through several USEs is
// freed once, when its last parent goes; the top-level read hands the root
// to the caller with one reference, released with unref(). A read that fails
// frees every node it made. Nothing here ever forms a cycle: a USE inside
// the body of the node it names is refused.
#pragma once

#include "vrml/name.h"

#include <memory>
#include <string>

namespace quillmere {

class QvFieldTable;
class QvInputFile;
class QvState;

class QvNode {
public:
  bool isBuiltIn = false; // one of the catalogue's classes; false for unknown nodes

  virtual ~QvNode();
  QvNode(const QvNode&) = delete;
  QvNode& operator=(const QvNode&) = delete;

  virtual QvFieldTable* getFieldTable() const = 0;
  // One visit of the walk that converts the tree; see state.h and conversion.h.
  virtual void traverse(QvState& state) = 0;
  // The node's body after its opening brace.
  virtual bool readInstance(QvInputFile& in);
  // The keyword the file wrote for this node ("Separator", or an unknown one).
  virtual const char* getKeyword() const = 0;

  const QvName& getName() const { return objName; }
  // Sets the node's own name, rewriting characters a node name cannot hold
  // (braces, quotes, white space...) to `_`.
  void setName(const QvName& name);

  void ref() { ++refCount_; }
  void unref(); // frees the node when the last reference goes
  int getRefCount() const { return refCount_; }
  int getHeight() const { return height_; }

  // One node, `NULL` or `USE` at the current position. `node` is null for
  // NULL, a closing brace or end of file. A new node comes back without a
  // reference: the caller takes one (or deletes it).
  static bool read(QvInputFile& in, QvNode*& node);

protected:
  QvNode() = default;

  // The body of a node that is not a group: an optional `fields` list, then
  // field occurrences; an unknown field name is an error.
  bool readFieldsOf(QvInputFile& in);

  // Levels of the tree from this node down, itself included. A USE places the
  // whole subtree, so the reader bounds depth + height: every walk over the
  // tree (visits, freeing) then recurses at most kMaxNestingDepth deep.
  int height_ = 1;

private:
  static bool readUse(QvInputFile& in, QvNode*& node);
  static bool readWithKeyword(QvInputFile& in, const QvName& keyword, QvNode*& node);
  static bool readDefinitionHeader(QvInputFile& in, QvName& defName, QvName& keyword);
  static QvNode* createInstance(QvInputFile& in, const QvName& keyword);
  static void skipBody(QvInputFile& in);

  QvName objName;          // empty unless the node was named with DEF
  int refCount_ = 0;       // parents (and callers) holding this node
  bool beingRead_ = false; // its body is being read: a USE of it now would form a cycle
};

struct QvNodeUnref {
  void operator()(QvNode* node) const {
    if (node) node->unref();
  }
};
// Holds one reference to a node, e.g. the root of a scene.
using QvNodeHandle = std::unique_ptr<QvNode, QvNodeUnref>;

struct QvScene {
  // The top-level read: one root node (or none). On success the root comes
  // back holding one reference for the caller; on failure it is null and
  // every node the read made is freed. A file of several top-level nodes
  // gives a plain QvGroup made by the reader, holding them in file order;
  // `numRoots` tells the nodes the file wrote at the top (0, 1 or more), so
  // a caller can tell that group from one the file wrote.
  static bool read(QvInputFile& in, QvNode*& root);
  static bool read(QvInputFile& in, QvNode*& root, int& numRoots);
  // The same read of the file at `path`, opened and closed here (a
  // gzip-compressed file is decompressed first); false, with a null root,
  // when it cannot be opened or decompressed.
  static bool readFile(const std::string& path, QvNodeHandle& root);
  // What a lenient read of a file passed over (see QvInputFile::setLenient).
  struct LenientReport {
    int skippedNodes = 0;
    int skippedFields = 0;
  };
  // The same, reading leniently (the viewer): true with a null root for a
  // file that holds no nodes.
  static bool readFileLeniently(const std::string& path, QvNodeHandle& root, LenientReport& report);

private:
  static bool readFurtherRoots(QvInputFile& in, QvNode*& root, int& numRoots);
};

// The word that introduces a field declaration list.
const QvName& qvFieldsKeyword();

} // namespace quillmere
