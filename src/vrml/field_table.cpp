#include "vrml/field_table.h"

#include "vrml/input_file.h"
#include "vrml/node.h"
#include "vrml/sfields.h"

#include <cstdint>
#include <exception>
#include <memory>

namespace quillmere {

namespace {

constexpr std::size_t kEnumGrowth = 6;

std::ptrdiff_t distance(const QvNode* node, const QvField* field) {
  return static_cast<std::ptrdiff_t>(reinterpret_cast<std::uintptr_t>(field) -
                                     reinterpret_cast<std::uintptr_t>(node));
}

} // namespace

QvFieldTable::~QvFieldTable() {
  for (FieldEntry& entry : fields_) delete entry.declared;
}

void QvFieldTable::addEntry(const FieldEntry& entry) {
  // Room first, so that a failed allocation leaves the index and the list agreeing.
  fields_.reserve(fields_.size() + 1);
  // A name declared twice keeps finding its first field.
  firstIndexByName_.emplace(entry.name.key(), getNumFields());
  fields_.push_back(entry);
}

void QvFieldTable::clear() {
  for (FieldEntry& entry : fields_) delete entry.declared;
  fields_.clear();
  firstIndexByName_.clear();
  enums_.clear();
  built_ = false;
}

void QvFieldTable::addField(const QvNode* node, const QvName& fieldName, const QvField* field) {
  addEntry({fieldName, distance(node, field), nullptr});
}

void QvFieldTable::addDeclaredField(const QvName& fieldName, QvField* field) {
  addEntry({fieldName, 0, field});
}

int QvFieldTable::findField(const QvName& fieldName) const {
  auto found = firstIndexByName_.find(fieldName.key());
  return found == firstIndexByName_.end() ? -1 : found->second;
}

QvField* QvFieldTable::getField(const QvNode* node, int index) const {
  const FieldEntry& entry = fields_[static_cast<std::size_t>(index)];
  if (entry.declared) return entry.declared;
  return reinterpret_cast<QvField*>(reinterpret_cast<std::uintptr_t>(node) + entry.offset);
}

void QvFieldTable::addEnumValue(const QvName& typeName, const QvName& valueName, int value) {
  EnumType* type = nullptr;
  for (EnumType& candidate : enums_)
    if (candidate.name == typeName) type = &candidate;
  if (!type) {
    enums_.push_back({typeName, {}, {}});
    type = &enums_.back();
  }
  if (type->values.size() == type->values.capacity()) {
    type->values.reserve(type->values.size() + kEnumGrowth);
    type->names.reserve(type->names.size() + kEnumGrowth);
  }
  type->values.push_back(value);
  type->names.push_back(valueName);
}

void QvFieldTable::getEnumData(const QvName& typeName, int& num, const int*& values,
                               const QvName*& names) const {
  for (const EnumType& type : enums_) {
    if (type.name == typeName) {
      num = static_cast<int>(type.values.size());
      values = type.values.data();
      names = type.names.data();
      return;
    }
  }
  num = 0;
  values = nullptr;
  names = nullptr;
}

bool QvFieldTable::read(QvInputFile& in, QvNode* node, bool errorOnUnknownField) const {
  if (fields_.empty()) return true;
  for (;;) {
    QvName name;
    if (!in.read(name, true) || name.isEmpty()) return true;
    int index = findField(name);
    if (index >= 0) {
      if (!getField(node, index)->read(in, name)) return false;
      continue;
    }
    if (errorOnUnknownField && in.isLenient()) {
      in.noteSkippedField(name.getString());
      in.skipFieldValue(
          [](const void* table, const char* word) {
            return static_cast<const QvFieldTable*>(table)->findField(QvName(word)) >= 0;
          },
          this);
      continue;
    }
    if (errorOnUnknownField) {
      QvInputFile::postReadError(&in, "Unknown field \"%s\"", name.getString());
      return false;
    }
    in.putBack(name.getString());
    return true;
  }
}

bool QvFieldTable::readFieldDeclarations(QvInputFile& in, QvNode* node) {
  char c;
  if (!in.read(c) || c != '[') return false;
  if (!in.read(c)) return false;
  if (c == ']') return true;
  in.putBack(c);
  bool adding = !node->isBuiltIn && fields_.empty();
  for (;;) {
    QvName typeName, fieldName;
    if (!in.read(typeName, true) || !in.read(fieldName, true)) return false;
    if (adding) {
      std::unique_ptr<QvField> field(QvField::createFieldFromTypeName(typeName.getString()));
      if (!field) return false;
      field->setContainer(node);
      addDeclaredField(fieldName, field.get());
      field.release(); // the table owns it now
    }
    if (!in.read(c)) return false;
    if (c != ',') return c == ']';
    if (in.read(c)) {
      if (c == ']') return true;
      in.putBack(c);
    }
  }
}

QvFieldSetup::QvFieldSetup(QvNode* node, QvFieldTable& table)
    : node_(node), table_(table), building_(!table.isBuilt()), uncaught_(std::uncaught_exceptions()) {}

QvFieldSetup::~QvFieldSetup() {
  node_->isBuiltIn = true;
  if (!building_) return;
  // A constructor left by a failed allocation built part of the table; the
  // next construction starts again from an empty one.
  if (std::uncaught_exceptions() > uncaught_)
    table_.clear();
  else
    table_.setBuilt();
}

void QvFieldSetup::field(const char* name, QvField& field) {
  field.setContainer(node_);
  if (building_) table_.addField(node_, QvName(name), &field);
}

void QvFieldSetup::enumValue(const char* typeName, const char* valueName, int value) {
  if (building_) table_.addEnumValue(QvName(typeName), QvName(valueName), value);
}

void QvFieldSetup::attachEnum(QvSFEnum& field, const char* typeName) {
  table_.getEnumData(QvName(typeName), field.numEnums, field.enumValues, field.enumNames);
}

} // namespace quillmere
