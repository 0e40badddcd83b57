#include "render/jitter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace quillmere {
namespace {

using Table = std::vector<JitterPoint>;

// The published tables: blocks of "n=N" followed by N lines "x y".
std::map<int, Table> readTables(const std::string& path) {
  std::map<int, Table> tables;
  std::ifstream file(path);
  std::string word;
  int current = 0;
  while (file >> word) {
    if (word.rfind("n=", 0) == 0) {
      current = std::stoi(word.substr(2));
      continue;
    }
    float x = std::stof(word), y = 0;
    file >> y;
    tables[current].push_back({x, y});
  }
  return tables;
}

TEST(Jitter, TablesAreThePublishedOnesAndOtherCountsOnePass) {
  const std::string data = QUILLMERE_REFERENCE_DATA "/";
  std::map<int, Table> book = readTables(data + "jitter_tables_book.txt");
  std::map<int, Table> sample = readTables(data + "jitter_tables.txt");
  ASSERT_FALSE(book.empty() || sample.empty()) << "the reference tables are missing from " << data;
  // 2..16 in [0, 1] from the book; 15, 24 and 66 in [−0.5, 0.5] from the sample code.
  for (int n : {2, 3, 4, 5, 6, 8, 9, 12, 16, 15, 24, 66}) {
    const Table& expected = (n == 15 || n == 24 || n == 66) ? sample[n] : book[n];
    JitterTable table = getJitter(n);
    ASSERT_EQ(table.count, n);
    ASSERT_EQ(expected.size(), std::size_t(n));
    for (int i = 0; i < n; ++i) {
      EXPECT_FLOAT_EQ(table.points[i].x, expected[std::size_t(i)].x) << "n=" << n << " i=" << i;
      EXPECT_FLOAT_EQ(table.points[i].y, expected[std::size_t(i)].y) << "n=" << n << " i=" << i;
    }
  }

  JitterTable one = getJitter(1);
  ASSERT_EQ(one.count, 1);
  EXPECT_EQ(one.points[0].x, 0.0f);
  testing::internal::CaptureStderr();
  JitterTable seven = getJitter(7);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "DvDisplayManager::getJitter: can't find jitter\n");
  ASSERT_EQ(seven.count, 1); // one pass with the offset (0, 0)
  EXPECT_EQ(seven.points[0].y, 0.0f);
}

} // namespace
} // namespace quillmere
