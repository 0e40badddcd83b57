#include "diagnostics/diagnostics.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmere;

TEST(Diagnostics, PrintersWriteToStandardOutputWithTheirOwnLineEnds) {
  testing::internal::CaptureStderr();
  printWarning("warned %d\n", 1);
  printWarning("no newline");
  printInformation("informed %s", "here");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "warned 1\nno newlineinformed here\n");
}

TEST(Diagnostics, LongMessagesAreCutTo199Characters) {
  std::string longName(500, 'x');
  testing::internal::CaptureStderr();
  printWarning("name %s", longName.c_str());
  std::string printed = testing::internal::GetCapturedStderr();
  ASSERT_EQ(printed.size(), 199u);
  EXPECT_EQ(printed.substr(0, 6), "name x");
}

TEST(DiagnosticsDeathTest, FatalEndsWithExitStatusOne) {
  EXPECT_EXIT(printFatal("GamutMapping::clip(): Unknown method"), testing::ExitedWithCode(1),
              "");
}
