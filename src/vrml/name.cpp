#include "vrml/name.h"

#include <cstring>
#include <random>
#include <memory>
#include <vector>

namespace quillmere {

namespace {

constexpr std::uint32_t kNameBuckets = 1999; // initial count; doubles at four names per bucket
constexpr std::size_t kTextBlockSize = 4000; // bytes shared by many short texts

// Texts live in shared blocks; a text too big for a block gets its own
// allocation. The block list keeps everything reachable for leak checkers.
struct TextStore {
  char* current = nullptr;  // block being filled
  std::size_t used = 0;     // bytes used in `current`
  struct Block {
    char* bytes;
    Block* next;
  };
  Block* blocks = nullptr;  // every allocation ever made, newest first

  char* allocate(std::size_t size) {
    std::unique_ptr<char[]> bytes(new char[size]);
    blocks = new Block{bytes.get(), blocks};
    return bytes.release();
  }

  const char* copy(const char* text) {
    std::size_t size = std::strlen(text) + 1;
    char* place;
    if (size >= kTextBlockSize) {
      place = allocate(size);
    } else {
      if (!current || kTextBlockSize - used < size) {
        current = allocate(kTextBlockSize);
        used = 0;
      }
      place = current + used;
      used += size;
    }
    std::memcpy(place, text, size);
    return place;
  }
};

struct NameTable {
  std::vector<QvNameEntry*> buckets = std::vector<QvNameEntry*>(kNameBuckets, nullptr);
  std::size_t numEntries = 0;
  TextStore texts;

  // Keeps chains short however many distinct names a file brings.
  void grow() {
    std::vector<QvNameEntry*> larger(buckets.size() * 2 + 1, nullptr);
    for (QvNameEntry* entry : buckets) {
      while (entry) {
        QvNameEntry* next = entry->next;
        QvNameEntry*& head = larger[entry->hash % larger.size()];
        entry->next = head;
        head = entry;
        entry = next;
      }
    }
    buckets.swap(larger);
  }
};

NameTable& nameTable() {
  // Created on first use and deliberately never destroyed, so names stay
  // valid even while other static objects are being torn down.
  static NameTable* table = new NameTable;
  return *table;
}

} // namespace

std::uint64_t QvName::processHashSeed() {
  static const std::uint64_t seed = [] {
    std::random_device source;
    return (std::uint64_t(source()) << 32) ^ std::uint64_t(source());
  }();
  return seed;
}

std::uint32_t QvName::hashText(const char* text, std::uint64_t seed) {
  constexpr std::uint64_t kOffsetBasis = 0xCBF29CE484222325ull;
  constexpr std::uint64_t kPrime = 0x100000001B3ull;
  std::uint64_t hash = kOffsetBasis ^ seed;
  for (const char* c = text; *c; ++c) {
    hash ^= static_cast<unsigned char>(*c);
    hash *= kPrime;
  }
  // Both halves go into the bucket index (a remainder by an odd count).
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

const QvNameEntry* QvName::intern(const char* text) {
  NameTable& table = nameTable();
  std::uint32_t hash = hashText(text);
  for (QvNameEntry* entry = table.buckets[hash % table.buckets.size()]; entry; entry = entry->next)
    if (entry->hash == hash && std::strcmp(entry->text, text) == 0) return entry;
  if (table.numEntries >= 4 * table.buckets.size()) table.grow();
  QvNameEntry*& head = table.buckets[hash % table.buckets.size()];
  head = new QvNameEntry{table.texts.copy(text), hash, head};
  ++table.numEntries;
  return head;
}

QvName::QvName() {
  static const QvNameEntry* empty = intern("");
  entry_ = empty;
}

QvName::QvName(const char* text) : entry_(intern(text ? text : "")) {}

} // namespace quillmere
