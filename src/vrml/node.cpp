#include "vrml/node.h"

#include "vrml/field_table.h"
#include "vrml/group.h"
#include "vrml/input_file.h"
#include "vrml/node_factory.h"
#include "vrml/scene_file_stream.h"
#include "vrml/string.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <memory>
#include <new>

namespace quillmere {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool isIdentStartChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

// Letters, digits, and every other character that is neither a control
// character, white space, nor one of + ' " \ { } (which would make the name
// unreadable as a word). Bytes of 0x80 and above count as name characters.
bool isNodeNameChar(char c) {
  auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte == 0x7F || isSpace(c)) return false;
  static const char kExcluded[] = "+'\"\\{}";
  for (const char* excluded = kExcluded; *excluded; ++excluded)
    if (c == *excluded) return false;
  return true;
}

QvName acceptableNodeName(const QvName& name) {
  const char* text = name.getString();
  bool acceptable = text[0] == '\0' || isIdentStartChar(text[0]);
  for (const char* c = text + 1; acceptable && text[0] && *c; ++c) acceptable = isNodeNameChar(*c);
  if (acceptable) return name;
  QvString rewritten;
  if (!isIdentStartChar(text[0])) rewritten.append('_');
  for (const char* c = text; *c; ++c) rewritten.append(isNodeNameChar(*c) ? *c : '_');
  return QvName(rewritten.getString());
}

const QvName& kNullKeyword() {
  static const QvName name("NULL");
  return name;
}
const QvName& kUseKeyword() {
  static const QvName name("USE");
  return name;
}
const QvName& kDefKeyword() {
  static const QvName name("DEF");
  return name;
}

// Frees a node whose read failed. The whole read fails with it, so the DEF
// table is emptied rather than left pointing at freed nodes.
void discard(QvInputFile& in, QvNode* node) {
  in.forgetReferences();
  if (node->getRefCount() == 0) delete node;
}

} // namespace

const QvName& qvFieldsKeyword() {
  static const QvName name("fields");
  return name;
}

QvNode::~QvNode() = default;

void QvNode::unref() {
  if (--refCount_ <= 0) delete this;
}

void QvNode::setName(const QvName& name) { objName = acceptableNodeName(name); }

namespace {

// Opens, reads and closes a scene file; `report` non-null reads it leniently
// and counts what was skipped.
bool readSceneFile(const std::string& path, QvNodeHandle& root, QvScene::LenientReport* report) {
  root.reset();
  SceneFileStream stream(path);
  if (!stream.damage().empty()) QvInputFile::postReadError(nullptr, "%s: %s", path.c_str(), stream.damage().c_str());
  if (!stream.file()) return false;
  QvNode* node = nullptr;
  bool ok;
  {
    QvInputFile in;
    in.setFilePointer(stream.file());
    in.setFileName(path.c_str());
    if (report) in.setLenient(path);
    ok = QvScene::read(in, node);
    if (report) {
      report->skippedNodes = in.skippedNodes();
      report->skippedFields = in.skippedFields();
    }
  }
  root.reset(node);
  return ok;
}

} // namespace

bool QvScene::readFile(const std::string& path, QvNodeHandle& root) {
  return readSceneFile(path, root, nullptr) && root;
}

bool QvScene::readFileLeniently(const std::string& path, QvNodeHandle& root, LenientReport& report) {
  return readSceneFile(path, root, &report);
}

bool QvScene::read(QvInputFile& in, QvNode*& root) {
  int numRoots;
  return read(in, root, numRoots);
}

bool QvScene::read(QvInputFile& in, QvNode*& root, int& numRoots) {
  root = nullptr;
  numRoots = 0;
  QvNode* node = nullptr;
  bool ok;
  // Any allocation of the read may fail on a huge or hostile file. Every
  // reader frees what it made as the failure passes through it, so the
  // read simply fails, with a message, and the program goes on.
  try {
    ok = QvNode::read(in, node);
  } catch (const std::bad_alloc&) {
    in.forgetReferences();
    QvInputFile::postReadError(&in, "Out of memory while reading the scene file");
    return false;
  }
  if (ok && !node && !in.eof()) {
    char c;
    in.get(c);
    QvInputFile::postReadError(&in, "Extra characters ('%c') found in input", c);
    return false;
  }
  if (!ok) return false;
  if (node) {
    node->ref();
    numRoots = 1;
    if (!readFurtherRoots(in, node, numRoots)) return false;
  }
  root = node;
  return true;
}

// Exporters often write several nodes side by side at the top of a file.
// When anything but white space and comments follows the first root, every
// further node is read too, and the roots come back, in file order, as the
// children of a plain group made here. `root` holds one reference on entry;
// on success it is the root to hand out (the first one, or the group), on
// failure everything is freed.
bool QvScene::readFurtherRoots(QvInputFile& in, QvNode*& root, int& numRoots) {
  if (!in.hasMoreContent()) return true; // a single root, exactly as read
  QvGroup* group = nullptr;
  // A failed read frees every node it made, and the DEF table with them.
  auto fail = [&] {
    in.forgetReferences();
    group->unref();
    root = nullptr;
    return false;
  };
  char c = 0;
  try {
    group = new QvGroup;
    group->ref();
    group->addChild(root);
    root->unref(); // the group holds it now
    root = group;
    // The group is one level above the roots: the file's deepest node plus
    // that level must still fit the nesting bound.
    if (!in.canPlaceSubtree(group->getHeight())) return fail();
    while (in.hasMoreContent()) {
      in.read(c);
      // Only a keyword can start a node: anything else (a stray brace, a
      // bracket) would be read as no node and never consumed.
      if (!isIdentStartChar(c)) {
        QvInputFile::postReadError(&in, "Extra characters ('%c') found in input", c);
        return fail();
      }
      in.putBack(c);
      QvNode* node = nullptr;
      if (!in.enterNode()) return fail(); // the group's own level
      bool ok;
      try {
        ok = QvNode::read(in, node);
      } catch (...) {
        in.leaveNode();
        throw;
      }
      in.leaveNode();
      if (!ok) return fail();
      if (!node) continue; // a NULL between roots
      try {
        group->addChild(node);
      } catch (...) {
        if (node->getRefCount() == 0) delete node;
        throw;
      }
      ++numRoots;
    }
  } catch (const std::bad_alloc&) {
    in.forgetReferences();
    if (root != group) root->unref(); // not yet handed to the group
    if (group) group->unref();
    root = nullptr;
    QvInputFile::postReadError(&in, "Out of memory while reading the scene file");
    return false;
  }
  return true;
}

bool QvNode::read(QvInputFile& in, QvNode*& node) {
  node = nullptr;
  QvName keyword;
  if (!in.read(keyword, true)) return in.isHeaderOk();
  if (keyword.isEmpty() || keyword == kNullKeyword()) return true;
  if (keyword == kUseKeyword()) return readUse(in, node);
  return readWithKeyword(in, keyword, node);
}

bool QvNode::readUse(QvInputFile& in, QvNode*& node) {
  // The name is a word, so a brace written against it becomes part of it.
  QvName refName;
  if (!in.read(refName, false)) {
    QvInputFile::postReadError(&in, "Premature end of file after USE");
    return false;
  }
  QvNode* found = in.findReference(refName);
  if (!found) {
    QvInputFile::postReadError(&in, "Unknown reference \"%s\"", refName.getString());
    return false;
  }
  if (found->beingRead_) {
    QvInputFile::postReadError(&in, "USE of \"%s\" inside its own definition would make the node its own descendant",
                               refName.getString());
    return false;
  }
  if (!in.canPlaceSubtree(found->getHeight())) return false;
  node = found;
  return true;
}

bool QvNode::readDefinitionHeader(QvInputFile& in, QvName& defName, QvName& keyword) {
  bool failed = false;
  bool nameRead = in.read(defName, false);
  bool keywordRead = in.read(keyword, true);
  if (!nameRead || !keywordRead) {
    QvInputFile::postReadError(&in, "Premature end of file after DEF");
    failed = true;
  }
  if (defName.isEmpty()) {
    QvInputFile::postReadError(&in, "No name given after %s", "DEF");
    failed = true;
  }
  if (keyword.isEmpty()) {
    QvInputFile::postReadError(&in, "Invalid definition of %s", defName.getString());
    return false;
  }
  return !failed;
}

bool QvNode::readWithKeyword(QvInputFile& in, const QvName& keyword, QvNode*& node) {
  QvName defName;
  QvName className = keyword;
  if (keyword == kDefKeyword() && !readDefinitionHeader(in, defName, className)) return false;

  char c;
  if (!in.read(c)) {
    QvInputFile::postReadError(&in, "Expected '%c'; got EOF", '{');
    return false;
  }
  if (c != '{' && in.isLenient() && defName.isEmpty()) {
    // Among a group's children: a field the group does not have, skipped
    // with its value; an empty unknown node stands in its place.
    in.putBack(c);
    in.noteSkippedField(keyword.getString());
    in.skipFieldValue([](const void*, const char*) { return false; }, nullptr);
    auto skipped = std::make_unique<QvUnknownNode>();
    skipped->setClassName(keyword.getString());
    node = skipped.release();
    return true;
  }
  if (c != '{') {
    QvInputFile::postReadError(&in, "Expected '%c'; got '%c'", '{', c);
    return false;
  }
  if (!in.enterNode()) return false;
  QvNode* created = nullptr;
  bool bodyRead;
  try {
    created = createInstance(in, className);
    if (!created) {
      in.leaveNode();
      return false;
    }
    // Entered before the body is read, so the body may not USE it (beingRead_).
    if (!defName.isEmpty()) in.addReference(defName, created);
    created->beingRead_ = true;
    bodyRead = created->readInstance(in);
  } catch (...) {
    // An allocation failed somewhere below: free this node on the way out.
    in.leaveNode();
    if (created) discard(in, created);
    throw;
  }
  created->beingRead_ = false;
  in.leaveNode();
  if (!bodyRead) {
    skipBody(in);
    discard(in, created);
    return false;
  }
  if (!in.read(c)) {
    QvInputFile::postReadError(&in, "Expected '%c'; got EOF", '}');
    discard(in, created);
    return false;
  }
  if (c != '}') {
    QvInputFile::postReadError(&in, "Expected '%c'; got '%c'", '}', c);
    discard(in, created);
    return false;
  }
  node = created;
  return true;
}

namespace {

// The class an unknown node's body names in its isA field (`isA "Material"`
// or `isA ["Material", …]`, the first name the reader knows); empty when none.
std::string knownClassNamedBy(const std::string& body) {
  for (std::size_t at = body.find("isA"); at != std::string::npos; at = body.find("isA", at + 3)) {
    const bool wordStart = at == 0 || !(std::isalnum((unsigned char)body[at - 1]) || body[at - 1] == '_');
    if (!wordStart) continue;
    std::size_t k = at + 3;
    while (k < body.size() && (std::isspace((unsigned char)body[k]) || body[k] == '[')) ++k;
    while (k < body.size() && body[k] == '"') {
      const std::size_t end = body.find('"', k + 1);
      if (end == std::string::npos) return "";
      const std::string name = body.substr(k + 1, end - k - 1);
      std::unique_ptr<QvNode> probe(createNodeFromClassName(QvName(name.c_str())));
      if (probe) return name;
      k = end + 1;
      while (k < body.size() && (std::isspace((unsigned char)body[k]) || body[k] == ',')) ++k;
    }
  }
  return "";
}

// An unknown node whose body declares `isA` a known class becomes that
// class, its fields read from the body again (the declaration and the isA
// field are passed over quietly, other unknown fields skipped); null when
// the body does not read as that class.
QvNode* readAsKnownClass(QvInputFile& in, const std::string& className, const std::string& body, int firstLine) {
  const std::string text = "#VRML V1.0 ascii\n" + body + "\n";
  std::FILE* memory = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  if (!memory) return nullptr;
  QvNode* node = createNodeFromClassName(QvName(className.c_str()));
  bool ok;
  {
    QvInputFile again;
    again.setFilePointer(memory);
    again.setLenient(in.fileName());
    again.passOverQuietly("field fields");
    again.passOverQuietly("field isA");
    again.setLineNum(firstLine - 1); // the header line counts one
    ok = node->readInstance(again);
    in.addSkipped(again.skippedNodes(), again.skippedFields());
  }
  std::fclose(memory);
  if (!ok) {
    node->ref();
    node->unref(); // frees it
    return nullptr;
  }
  return node;
}

} // namespace

QvNode* QvNode::createInstance(QvInputFile& in, const QvName& keyword) {
  if (QvNode* node = createNodeFromClassName(keyword)) return node;
  if (in.isLenient()) {
    // Skipped to its closing brace, with or without a `fields` declaration,
    // unless it declares itself to be a known class.
    const int firstLine = in.getLineNum();
    std::string body;
    if (!in.skipToClosingBrace(&body)) {
      QvInputFile::postReadError(&in, "Expected '%c'; got EOF", '}');
      return nullptr;
    }
    const std::string known = knownClassNamedBy(body);
    if (!known.empty())
      if (QvNode* node = readAsKnownClass(in, known, body, firstLine)) return node;
    in.noteSkippedNode(keyword.getString());
    auto skipped = std::make_unique<QvUnknownNode>();
    skipped->setClassName(keyword.getString());
    return skipped.release();
  }
  // An unknown class is accepted only when its body declares its fields.
  QvString word;
  if (!in.read(word) || word != qvFieldsKeyword().getString()) {
    QvInputFile::postReadError(&in, "Unknown class \"%s\"", keyword.getString());
    return nullptr;
  }
  auto unknown = std::make_unique<QvUnknownNode>();
  unknown->setClassName(keyword.getString());
  in.putBack(qvFieldsKeyword().getString());
  return unknown.release();
}

// Raw characters to the matching brace: no comments, no line counting, and
// braces inside quoted strings count like any other.
void QvNode::skipBody(QvInputFile& in) {
  int depth = 1;
  char c;
  while (depth > 0 && in.get(c)) {
    if (c == '{') ++depth;
    if (c == '}') --depth;
  }
}

bool QvNode::readInstance(QvInputFile& in) { return readFieldsOf(in); }

bool QvNode::readFieldsOf(QvInputFile& in) {
  QvName word;
  if (in.read(word, true) && word == qvFieldsKeyword()) {
    if (!getFieldTable()->readFieldDeclarations(in, this)) {
      QvInputFile::postReadError(&in, "Bad field specifications for node");
      return false;
    }
  } else {
    in.putBack(word.getString());
  }
  return getFieldTable()->read(in, this, true);
}

void QvInputFile::addReference(const QvName& name, QvNode* node) {
  refDict_.enter(name.key(), node);
  node->setName(name);
}

} // namespace quillmere
