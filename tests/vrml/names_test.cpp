#include "vrml/dict.h"
#include "vrml/file_paths.h"
#include "vrml/name.h"
#include "vrml/string.h"
#include "vrml_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <new>
#include <random>
#include <set>
#include <string>

using namespace quillmere;

TEST(QvName, InternsEqualTextsAndKeepsCase) {
  QvName a("Separator");
  std::string copy = "Separator";
  EXPECT_EQ(a, QvName(copy.c_str()));
  EXPECT_EQ(a.getString(), QvName(copy.c_str()).getString()); // the very same entry
  EXPECT_NE(a, QvName("separator"));
  EXPECT_TRUE(QvName().isEmpty());
  EXPECT_EQ(QvName(), QvName(""));
  // Texts too long for a shared block are interned all the same.
  std::string longText(5000, 'n');
  EXPECT_EQ(QvName(longText.c_str()), QvName(std::string(5000, 'n').c_str()));
}

TEST(QvName, HashMixesEveryByte) {
  // Published 64-bit FNV-1a values, folded high half XOR low half:
  // "" is 0xCBF29CE484222325, "a" is 0xAF63DC4C8601EC8C.
  EXPECT_EQ(QvName::hashText("", 0), 0x4FD0BFC1u);
  EXPECT_EQ(QvName::hashText("a", 0), 0x296230C0u);
  // The table uses this process's random seed, which moves every hash.
  EXPECT_NE(QvName::processHashSeed(), 0u);
  EXPECT_EQ(QvString("a").hash(), QvName::hashText("a", QvName::processHashSeed()));
  EXPECT_NE(QvName::hashText("a", 0x100), 0x296230C0u);
  // "a" + s + s for any s of 24 characters all hashed to 'a' under the old
  // shift-and-XOR hash; now they spread over distinct values.
  std::set<std::uint32_t> hashes;
  for (char c = 'A'; c <= 'Z'; ++c) {
    std::string s(24, 'q');
    s[7] = c;
    hashes.insert(QvName::hashText(("a" + s + s).c_str()));
  }
  EXPECT_EQ(hashes.size(), 26u);
}

TEST(QvName, PatternedNamesReadAsFastAsRandomNames) {
  // The same number of DEF names twice: random ones, then ones of the form
  // "a" + s + s that all collided before. Reading them goes through the name
  // table and the file's DEF table. With every name
  // in one chain the second read is quadratic: 10^8 chain steps at this
  // count against 1.5 * 10^4 lookups, far past the ratio of 5 allowed here.
  constexpr int kNames = 15000;
  std::mt19937 random(11);
  const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
  auto randomText = [&] {
    std::string text(24, ' ');
    for (char& c : text) c = kChars[random() % (sizeof kChars - 1)];
    return text;
  };
  auto timeRead = [&](const std::string& scene) {
    auto start = std::chrono::steady_clock::now();
    test::SceneRead read = test::readScene(scene);
    std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.defNames, kNames);
    return seconds.count();
  };
  std::string randomScene = test::kHeader + std::string("Separator {\n");
  std::string patternScene = randomScene;
  for (int i = 0; i < kNames; ++i) {
    std::string s = randomText();
    randomScene += "DEF r" + s + randomText() + std::to_string(i) + " Cube {}\n";
    patternScene += "DEF a" + s + s + " Cube {}\n";
  }
  randomScene += "}\n";
  patternScene += "}\n";
  double randomSeconds = timeRead(randomScene);
  double patternSeconds = timeRead(patternScene);
  EXPECT_LT(patternSeconds, 5 * randomSeconds + 0.1) << "random names: " << randomSeconds << " s";
}

TEST(QvString, GrowsBeyondItsInlineStorageAndAssignsFromItself) {
  QvString s("short");
  std::string expected = "short";
  for (int i = 0; i < 100; ++i) {
    s += "xy";
    expected += "xy";
  }
  EXPECT_EQ(std::string(s.getString()), expected);
  EXPECT_EQ(s.getLength(), static_cast<int>(expected.size()));
  s = s.getString() + 5; // a tail of itself
  EXPECT_EQ(std::string(s.getString()), expected.substr(5));
  s += s.getString();
  EXPECT_EQ(std::string(s.getString()), expected.substr(5) + expected.substr(5));
  QvString copy(s);
  EXPECT_TRUE(copy == s);
  s.makeEmpty();
  EXPECT_TRUE(s == "");
  EXPECT_TRUE(copy != "");
}

TEST(QvString, GrowsGeometricallyAtEverySize) {
  // Past 1 GiB the capacity once grew to exactly the length asked for, so
  // every appended character copied the whole string.
  EXPECT_EQ(QvString::grownCapacity(32, 32), 64);
  EXPECT_GE(QvString::grownCapacity(1 << 30, 1 << 30), (1 << 30) + (1 << 29));
  EXPECT_EQ(QvString::grownCapacity((1 << 30) + 5, (1 << 30) + 5), INT_MAX);
  EXPECT_THROW(QvString::grownCapacity(INT_MAX, INT_MAX), std::bad_alloc); // no room for the NUL
}

TEST(QvDict, EnterReplacesAnExistingKeyAndReportsFalse) {
  QvDict dict(251);
  int one = 1, two = 2;
  QvName key("key");
  EXPECT_TRUE(dict.enter(key.key(), &one));
  EXPECT_FALSE(dict.enter(key.key(), &two));
  void* found = nullptr;
  ASSERT_TRUE(dict.find(key.key(), found));
  EXPECT_EQ(found, &two);
  EXPECT_FALSE(dict.find(QvName("other").key(), found));
  EXPECT_EQ(found, nullptr);
  // Keys that would share a bucket of 251 are kept apart.
  EXPECT_TRUE(dict.enter(3, &one));
  EXPECT_TRUE(dict.enter(3 + 251, &two));
  dict.find(3, found);
  EXPECT_EQ(found, &one);
  dict.find(3 + 251, found);
  EXPECT_EQ(found, &two);
  EXPECT_EQ(dict.getNumEntries(), 3);
  dict.clear();
  EXPECT_FALSE(dict.find(3, found));
}

TEST(QvDict, KeepsEveryKeyAsItGrows) {
  QvDict dict(251);
  static int values[5000];
  for (int i = 0; i < 5000; ++i) EXPECT_TRUE(dict.enter(reinterpret_cast<QvDict::Key>(&values[i]), &values[i]));
  for (int i = 0; i < 5000; i += 7) {
    void* found = nullptr;
    ASSERT_TRUE(dict.find(reinterpret_cast<QvDict::Key>(&values[i]), found));
    EXPECT_EQ(found, &values[i]);
  }
  EXPECT_EQ(dict.getNumEntries(), 5000);
}

TEST(FilePaths, FolderOfAPathAndANameBesideIt) {
  EXPECT_EQ(folderOf("examples/textured.wrl"), "examples");
  EXPECT_EQ(folderOf("textured.wrl"), ".");
  EXPECT_EQ(folderOf("/textured.wrl"), "/");
  EXPECT_EQ(pathBeside("examples/flight.par", "scene.wrl"), "examples/scene.wrl");
  EXPECT_EQ(pathBeside("flight.par", "scene.wrl"), "scene.wrl");
  EXPECT_EQ(pathBeside("/flight.par", "scene.wrl"), "/scene.wrl");
  EXPECT_EQ(pathBeside("examples/flight.par", "/data/scene.wrl"), "/data/scene.wrl");
}
