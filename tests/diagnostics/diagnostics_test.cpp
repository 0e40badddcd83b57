#include "diagnostics/diagnostics.h"

#include <gtest/gtest.h>

using namespace quillmere;

TEST(Diagnostics, PrintersWriteToStandardOutputWithTheirOwnLineEnds) {
  testing::internal::CaptureStderr();
  printWarning("warned %d\n", 1);
  printWarning("no newline");
  printInformation("informed %s", "here");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "warned 1\nno newlineinformed here\n");
}

TEST(DiagnosticsDeathTest, FatalEndsWithExitStatusOne) {
  EXPECT_EXIT(printFatal("GamutMapping::clip(): Unknown method"), testing::ExitedWithCode(1),
              "");
}
