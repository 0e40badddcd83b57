// Interned identifiers of the scene-file reader. Every keyword, field name and
// enumeration name is a `QvName`, so comparing two of them compares pointers.
#pragma once

#include <cstdint>

namespace quillmere {

// One entry of the process-wide name table. Entries and their texts are never
// freed: a name handed out stays valid for the life of the process.
struct QvNameEntry {
  const char* text;   // NUL-terminated, shared storage
  std::uint32_t hash; // QvName::hashText(text)
  QvNameEntry* next;  // next entry in the same bucket
};

class QvName {
public:
  QvName();                  // the empty name
  QvName(const char* text);  // NOLINT: implicit on purpose, names are made from literals everywhere

  const char* getString() const { return entry_->text; }
  bool isEmpty() const { return entry_->text[0] == '\0'; }
  // Identity of the interned entry; the key of the reader's dictionaries.
  std::uintptr_t key() const { return reinterpret_cast<std::uintptr_t>(entry_); }

  bool operator==(const QvName& other) const { return entry_ == other.entry_; }
  bool operator!=(const QvName& other) const { return entry_ != other.entry_; }

  // The table's hash: 64-bit FNV-1a over every byte, folded to 32 bits. Every
  // byte moves every bit of the result, so names that repeat a pattern (which
  // made the old shift-and-XOR hash collide wholesale) spread like any others.
  // The offset basis is XORed with `seed`; seed 0 is plain FNV-1a.
  static std::uint32_t hashText(const char* text, std::uint64_t seed);
  // With this process's seed, drawn from the system's random source on first
  // use, so names that collide in the table cannot be prepared in advance.
  static std::uint32_t hashText(const char* text) { return hashText(text, processHashSeed()); }
  static std::uint64_t processHashSeed();

private:
  static const QvNameEntry* intern(const char* text);

  const QvNameEntry* entry_;
};

} // namespace quillmere
