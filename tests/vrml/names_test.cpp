#include "vrml/dict.h"
#include "vrml/name.h"
#include "vrml/ptr_list.h"
#include "vrml/string.h"

#include <gtest/gtest.h>

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

TEST(QvName, HashShiftsEachCharacterByFiveWrappingAfter24) {
  EXPECT_EQ(QvName::hashText(""), 0u);
  EXPECT_EQ(QvName::hashText("A"), 65u);
  EXPECT_EQ(QvName::hashText("\x80"), 0xFFFFFF80u); // sign-extended
  // Shifts 0, 5, 10, 15, 20, then 25 - 24 = 1, then 6.
  std::uint32_t expected = 0;
  const int shifts[] = {0, 5, 10, 15, 20, 1, 6};
  for (int shift : shifts) expected ^= 1u << shift;
  EXPECT_EQ(QvName::hashText("\x01\x01\x01\x01\x01\x01\x01"), expected);
  EXPECT_EQ(QvString("A").hash(), 65u);
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

TEST(QvPtrList, AppendsFindsRemovesAndTruncates) {
  QvPtrList list;
  int items[6];
  for (int& item : items) list.append(&item);
  EXPECT_EQ(list.getLength(), 6);
  EXPECT_EQ(list.find(&items[4]), 4);
  list.remove(1);
  EXPECT_EQ(list.getLength(), 5);
  EXPECT_EQ(list[1], &items[2]);
  EXPECT_EQ(list.find(&items[1]), -1);
  list.truncate(2);
  EXPECT_EQ(list.getLength(), 2);
  EXPECT_EQ(list[0], &items[0]);
}
