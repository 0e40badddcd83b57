// The per-class table through which a node's fields are found by name, with
// the enumeration types of its enumeration and bit-mask fields. One static
// table per node class, built by the first construction; one per unknown node,
// filled from the file's `fields` declarations.
#pragma once

#include "vrml/name.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quillmere {

class QvField;
class QvInputFile;
class QvNode;
class QvSFEnum;

class QvFieldTable {
public:
  QvFieldTable() = default;
  ~QvFieldTable(); // frees declared fields (unknown nodes); member fields belong to their node
  QvFieldTable(const QvFieldTable&) = delete;
  QvFieldTable& operator=(const QvFieldTable&) = delete;

  // A member field of `node`, found again in every instance of the class by
  // its distance from the node.
  void addField(const QvNode* node, const QvName& fieldName, const QvField* field);
  // A separately allocated field declared in a file; the table owns it.
  void addDeclaredField(const QvName& fieldName, QvField* field);
  void addEnumValue(const QvName& typeName, const QvName& valueName, int value);
  // All null or zero when the type is not defined.
  void getEnumData(const QvName& typeName, int& num, const int*& values, const QvName*& names) const;

  int getNumFields() const { return static_cast<int>(fields_.size()); }
  // Index of the first field of that name, or -1.
  int findField(const QvName& fieldName) const;
  const QvName& getFieldName(int index) const { return fields_[static_cast<std::size_t>(index)].name; }
  QvField* getField(const QvNode* node, int index) const;

  // Field occurrences until a word that is not a field name: an error when
  // `errorOnUnknownField`, else the word is put back (a group's first child).
  bool read(QvInputFile& in, QvNode* node, bool errorOnUnknownField) const;
  // A bracketed list of type keyword and field name pairs after `fields`.
  // Fields are added only to an unknown node whose table is still empty.
  bool readFieldDeclarations(QvInputFile& in, QvNode* node);

  bool isBuilt() const { return built_; }
  void setBuilt() { built_ = true; }
  // Back to empty and not built, declared fields freed.
  void clear();

private:
  struct FieldEntry {
    QvName name;
    std::ptrdiff_t offset; // from the node's address to the member field
    QvField* declared;     // a declared field of an unknown node, else null
  };
  struct EnumType {
    QvName name;
    std::vector<int> values; // grows 6 entries at a time
    std::vector<QvName> names;
  };

  void addEntry(const FieldEntry& entry);

  std::vector<FieldEntry> fields_; // declaration order
  // Name key → index of the first field of that name, so that an unknown
  // node declaring many fields is still read in linear time.
  std::unordered_map<std::uintptr_t, int> firstIndexByName_;
  std::vector<EnumType> enums_;
  bool built_ = false;             // the first construction has filled the table
};

// Used by every node constructor: declares the class's fields and enumeration
// types on the first construction, and on every construction attaches the
// fields to the node and the enumeration types to their fields.
class QvFieldSetup {
public:
  QvFieldSetup(QvNode* node, QvFieldTable& table);
  ~QvFieldSetup();
  QvFieldSetup(const QvFieldSetup&) = delete;
  QvFieldSetup& operator=(const QvFieldSetup&) = delete;

  void field(const char* name, QvField& field);
  void enumValue(const char* typeName, const char* valueName, int value);
  void attachEnum(QvSFEnum& field, const char* typeName);

private:
  QvNode* node_;
  QvFieldTable& table_;
  bool building_; // first construction of the class
  int uncaught_;   // exceptions in flight when the setup began
};

} // namespace quillmere
