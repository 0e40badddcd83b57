#include "vrml_test_support.h"

#include "vrml/input_file.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmere;
using namespace quillmere::test;

namespace {

std::string readWord(QvInputFile& in) {
  QvString word;
  EXPECT_TRUE(in.read(word));
  return word.getString();
}

std::string readIdentifier(QvInputFile& in) {
  QvName name;
  EXPECT_TRUE(in.read(name, true));
  return name.getString();
}

std::int32_t readLong(QvInputFile& in) {
  std::int32_t value = -12345;
  EXPECT_TRUE(in.read(value));
  return value;
}

char nextChar(QvInputFile& in) {
  char c = 0;
  EXPECT_TRUE(in.read(c));
  return c;
}

} // namespace

TEST(InputFile, AcceptsOnlyTheExactHeaderLineAndSaysWhatIsWrong) {
  // The valid header, a NUL byte and more is not the whole line; a line
  // longer than the 255 characters kept is read to its end, without overrun.
  const std::string rejected[] = {"VRML V1.0 ascii\n", "#VRML V1.0 ascii \n", "#VRML V2.0 utf8\n",
                                  "#VRML V1.0 ASCII\n", std::string("#VRML V1.0 ascii\0x\n", 19),
                                  "#VRML V1.0 ascii" + std::string(1000, ' ') + "\nCube"};
  for (const std::string& text : rejected) {
    TextInput input(text);
    testing::internal::CaptureStderr();
    char c;
    EXPECT_FALSE(input.in.read(c)) << text;
    // The header line's own line feed is counted before the report.
    bool hash = text[0] == '#';
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              readError("File does not have a valid header string", hash ? 2 : 1))
        << text;
    EXPECT_FALSE(input.in.isHeaderOk());
    EXPECT_EQ(input.in.getVersion(), hash ? 0.0f : 1.0f);
  }
  TextInput crlf("#VRML V1.0 ascii\r\nCube\r\n");
  EXPECT_EQ(readIdentifier(crlf.in), "Cube");
  EXPECT_EQ(crlf.in.getLineNum(), 2);
  EXPECT_TRUE(crlf.in.isHeaderOk());

  auto firstCharError = [](QvInputFile& in) {
    testing::internal::CaptureStderr();
    char c;
    EXPECT_FALSE(in.read(c));
    EXPECT_FALSE(in.isHeaderOk());
    return testing::internal::GetCapturedStderr();
  };
  TextInput empty("");
  EXPECT_EQ(firstCharError(empty.in), readError("File is empty", 1));
  std::FILE* directory = std::fopen(QUILLMERE_TEST_DATA, "r"); // opens on Linux, but cannot be read
  ASSERT_NE(directory, nullptr);
  QvInputFile fromDirectory;
  fromDirectory.setFilePointer(directory);
  EXPECT_EQ(firstCharError(fromDirectory), readError("Cannot read the file: Is a directory", 1));
  std::fclose(directory);
  // Only the whole byte-order mark is skipped; a part of one is no header.
  TextInput partMark("\xEF\xBB#VRML V1.0 ascii\n");
  EXPECT_EQ(firstCharError(partMark.in), readError("File does not have a valid header string", 1));

  // A byte-order mark before the header, and lines ending in a lone CR
  // (even in a quoted string, which keeps a line feed), CR LF or LF.
  TextInput mac("\xEF\xBB\xBF#VRML V1.0 ascii\r\rfirst\r\"a\rb\"\r\n\nlast");
  EXPECT_EQ(readIdentifier(mac.in), "first");
  EXPECT_EQ(mac.in.getLineNum(), 3);
  EXPECT_EQ(readWord(mac.in), "a\nb");
  EXPECT_EQ(readIdentifier(mac.in), "last");
  EXPECT_EQ(mac.in.getLineNum(), 7); // six line ends before it
}

TEST(InputFile, SkipsWhiteSpaceAndCommentsCountingLines) {
  TextInput input(std::string(kHeader) + "  # comment {\n\t\v\f\r\n#\n   word # last comment");
  EXPECT_EQ(readWord(input.in), "word");
  EXPECT_EQ(input.in.getLineNum(), 5); // the CR LF counts as one line end
  testing::internal::CaptureStderr();
  char c;
  EXPECT_FALSE(input.in.read(c));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), readError("EOF reached before end of comment", 5));
  EXPECT_TRUE(input.in.eof());
}

TEST(InputFile, ReadsWordsAndQuotedStrings) {
  TextInput input(std::string(kHeader) +
                  "plain{[,]} \"two\nlines\" \"say \\\"hi\\\"\" \"back\\nslash\"");
  EXPECT_EQ(readWord(input.in), "plain{[,]}"); // braces and commas belong to a word
  EXPECT_EQ(readWord(input.in), "two\nlines");
  EXPECT_EQ(input.in.getLineNum(), 3);
  EXPECT_EQ(readWord(input.in), "say \"hi\"");
  EXPECT_EQ(readWord(input.in), "back\\nslash"); // only \" is an escape
}

TEST(InputFile, StringOpenAtEndOfFileSaysWhereItStarts) {
  // Once the reader only noticed the missing brace after the string.
  SceneRead open = readScene(std::string(kHeader) + "Info {\n string \"never\nclosed }\n");
  EXPECT_FALSE(open.ok);
  EXPECT_EQ(open.errors, readError("EOF reached before the end of a string that starts at line 3", 5) +
                             readError("Couldn't read value for field \"string\"", 5));
  // Also when the end of file falls right after an escaping backslash.
  TextInput backslash(std::string(kHeader) + "\"ends with \\");
  testing::internal::CaptureStderr();
  QvString word;
  EXPECT_FALSE(backslash.in.read(word));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            readError("EOF reached before the end of a string that starts at line 2", 2));
}

TEST(InputFile, IntegersConvertWithBaseZeroLikeStrtol) {
  TextInput input(std::string(kHeader) + "0x1F 017 -0x10 010 08 +7 0X1F 2147483648 -2147483649 " +
                  "0000000000000000000000000000000000000012 0x");
  EXPECT_EQ(readLong(input.in), 31);
  EXPECT_EQ(readLong(input.in), 15);
  EXPECT_EQ(readLong(input.in), -16);
  EXPECT_EQ(readLong(input.in), 8);
  EXPECT_EQ(readLong(input.in), 0); // 8 is no octal digit
  EXPECT_EQ(readLong(input.in), 7);
  EXPECT_EQ(readLong(input.in), 0); // only a lowercase x makes hexadecimal...
  EXPECT_EQ(readIdentifier(input.in), "X1F"); // ...so the capital X stays in the input
  EXPECT_EQ(readLong(input.in), 2147483647);  // saturates like a 32-bit strtol
  EXPECT_EQ(readLong(input.in), -2147483647 - 1);
  // A token longer than 31 characters is read in full: octal 12 is 10.
  EXPECT_EQ(readLong(input.in), 10);
  std::int32_t value;
  EXPECT_FALSE(input.in.read(value)); // 0x needs a hexadecimal digit

}

TEST(InputFile, RealsNeedADigitAndEndAtTheFirstCharacterThatDoesNotFit) {
  TextInput input(std::string(kHeader) + "1. .5 -2.5e2 +3E-1 7,8 1e400 0." + std::string(35, '0') + "125 . x");
  const double expected[] = {1.0, 0.5, -250.0, 0.3, 7.0};
  float f;
  for (double value : expected) {
    ASSERT_TRUE(input.in.read(f));
    EXPECT_FLOAT_EQ(f, static_cast<float>(value));
  }
  EXPECT_EQ(nextChar(input.in), ',');
  ASSERT_TRUE(input.in.read(f));
  EXPECT_FLOAT_EQ(f, 8.0f);
  ASSERT_TRUE(input.in.read(f));
  EXPECT_TRUE(f > 3.4e38f); // beyond the float range: infinity
  ASSERT_TRUE(input.in.read(f)); // forty characters, read in full
  EXPECT_FLOAT_EQ(f, 1.25e-36f);
  EXPECT_FALSE(input.in.read(f)); // a point alone...
  EXPECT_EQ(readIdentifier(input.in), "x"); // ...is consumed, the x stays
  EXPECT_FALSE(input.in.read(f));
}

TEST(InputFile, RefusesTokensLongerThanTheLimitNamingKindAndFirstLine) {
  // Tokens of exactly the limit read; one more character is refused before
  // the string grows. The last quoted string starts on line 3, fails on 4.
  TextInput input(std::string(kHeader) + "12345678 \"123\n5678\" 1.345678 " + "word_6789 \"1234\n56789\"");
  input.in.setMaxTokenLength(8);
  EXPECT_EQ(readLong(input.in), 12345678);
  EXPECT_EQ(readWord(input.in), "123\n5678");
  float f;
  EXPECT_TRUE(input.in.read(f));
  testing::internal::CaptureStderr();
  QvString word;
  EXPECT_FALSE(input.in.read(word));
  EXPECT_FALSE(input.in.read(word));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            readError("Word starting at line 3 is longer than 8 bytes", 3) +
                readError("Quoted string starting at line 3 is longer than 8 bytes", 4));

  TextInput number(std::string(kHeader) + "1e3456789");
  number.in.setMaxTokenLength(8);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(number.in.read(f));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), readError("Number starting at line 2 is longer than 8 bytes", 2));
}

TEST(InputFile, ReadErrorsShowUnprintableBytesEscaped) {
  // A NUL once ended the message early and an escape byte reached the
  // terminal raw; printable characters, backslash included, are unchanged.
  SceneRead nul = readScene(std::string(kHeader) + std::string("Cube \0", 6));
  EXPECT_EQ(nul.errors, readError("Expected '{'; got '\\0'", 2));
  SceneRead escape = readScene(std::string(kHeader) + "Cube \x1b");
  EXPECT_EQ(escape.errors, readError("Expected '{'; got '\\x1b'", 2));
  SceneRead name = readScene(std::string(kHeader) + "USE \x1b[2J\\\xe9\x7f");
  EXPECT_EQ(name.errors, readError("Unknown reference \"\\x1b[2J\\\\xe9\\x7f\"", 2));
}
