#include "vrml/file_paths.h"
#include "vrml/name.h"
#include "vrml/string.h"
#include "vrml_test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace quillmere;

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

TEST(FilePaths, FolderOfAPathAndANameBesideIt) {
  EXPECT_EQ(folderOf("examples/textured.wrl"), "examples");
  EXPECT_EQ(folderOf("textured.wrl"), ".");
  EXPECT_EQ(folderOf("/textured.wrl"), "/");
  EXPECT_EQ(pathBeside("examples/flight.par", "scene.wrl"), "examples/scene.wrl");
  EXPECT_EQ(pathBeside("flight.par", "scene.wrl"), "scene.wrl");
  EXPECT_EQ(pathBeside("/flight.par", "scene.wrl"), "/scene.wrl");
  EXPECT_EQ(pathBeside("examples/flight.par", "/data/scene.wrl"), "/data/scene.wrl");
}
