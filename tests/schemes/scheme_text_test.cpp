#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/integer_text.h"
#include "schemes/text_lines.h"
#include "recode/utf8_cp1251.h"

namespace lirvane {
namespace {

TEST(IntegerTextTest, AcceptsLeadingBlanksSignAndDigitsOnly) {
  EXPECT_EQ(ParseIntegerText("0"), 0);
  EXPECT_EQ(ParseIntegerText("866"), 866);
  EXPECT_EQ(ParseIntegerText("-866"), -866);
  EXPECT_EQ(ParseIntegerText("+8"), 8);
  EXPECT_EQ(ParseIntegerText("   12"), 12);
  EXPECT_EQ(ParseIntegerText("  -0012"), -12);
  EXPECT_EQ(ParseIntegerText("2147483647"), 2147483647);
  EXPECT_EQ(ParseIntegerText("-2147483648"), INT32_MIN);

  for (const char* bad : {"", " ", "+", "-", "12 ", "1 2", "- 1", "0x10", "$10", "1e3", "8a", "\t8",
                          "2147483648", "-2147483649", "99999999999999999999"})
    EXPECT_EQ(ParseIntegerText(bad), std::nullopt) << '"' << bad << '"';
}

std::vector<std::string> AllLines(std::string_view text) {
  TextLineReader reader(text);
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.emplace_back(reader.NextLine());
  return lines;
}

TEST(TextLineReaderTest, CrEndsLineOneLfSkippedLoneLfKept) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(AllLines(""), Lines{});
  EXPECT_EQ(AllLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(AllLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(AllLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(AllLines("a\nb\r\n"), (Lines{"a\nb"}));
  EXPECT_EQ(AllLines("a\r\n\nb"), (Lines{"a", "\nb"}));
  EXPECT_EQ(AllLines("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(AllLines("a\r\nb\x1A\r\nc\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(AllLines(std::string("a\0b\r\n", 5)), (Lines{std::string("a\0b", 3)}));
}

TEST(TextLineReaderTest, LinesPastTheEndReadEmpty) {
  TextLineReader reader("x");
  EXPECT_EQ(reader.NextLine(), "x");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.NextLine(), "");
  EXPECT_EQ(reader.NextLine(), "");
}

TEST(ArgumentToWindows1251Test, ConvertsRussianAndMarksTheRest) {
  EXPECT_EQ(ArgumentToWindows1251("abc"), "abc");
  EXPECT_EQ(ArgumentToWindows1251("Новая схема"), "\xCD\xEE\xE2\xE0\xFF \xF1\xF5\xE5\xEC\xE0");
  EXPECT_EQ(ArgumentToWindows1251("ёЁ№€"), "\xB8\xA8\xB9\x88");
  EXPECT_EQ(ArgumentToWindows1251("日本"), "??");
  EXPECT_EQ(ArgumentToWindows1251("\xF0\x9F\x98\x80"), "?");  // outside the BMP
}

TEST(ArgumentToWindows1251Test, InvalidUtf8PassesThroughByteForByte) {
  // A Windows-1251 argument as the system may hand it over unchanged.
  EXPECT_EQ(ArgumentToWindows1251("\xCD\xEE\xE2"), "\xCD\xEE\xE2");
  EXPECT_EQ(ArgumentToWindows1251("a\xD0"), "a\xD0");                // cut short
  EXPECT_EQ(ArgumentToWindows1251("\xC0\xAF"), "\xC0\xAF");          // overlong
  EXPECT_EQ(ArgumentToWindows1251("\xED\xA0\x80"), "\xED\xA0\x80");  // surrogate
  EXPECT_EQ(ArgumentToWindows1251("\xFF\xD0\xB0"), "\xFF\xE0");      // junk, then а
}

TEST(Windows1251ToUtf8Test, EveryByteRoundTrips) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  EXPECT_EQ(ArgumentToWindows1251(Windows1251ToUtf8(bytes)), bytes);
  EXPECT_EQ(Windows1251ToUtf8("\xE4\xE2\xE0"), "два");
}

}  // namespace
}  // namespace lirvane
