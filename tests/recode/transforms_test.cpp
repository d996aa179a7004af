#include "recode/transforms.h"

#include <gtest/gtest.h>

#include <functional>

namespace lirvane {
namespace {

using Transform = std::function<std::string(std::string_view)>;

const std::vector<Transform> kAll = {
    LatToCyr,       CyrToLat,   UpperCaseText,         LowerCaseText,
    CollapseSpaces, DeleteTags, UnescapeFormUrlencoded};

TEST(Transforms, EmptyStaysEmptyAndInputIsLeftAlone) {
  const std::string input = "<a>%41 +&\r\n  ghbdtn \xE0\xC0";
  for (const auto& t : kAll) {
    EXPECT_EQ(t(""), "");
    const std::string copy = input;
    (void)t(copy);
    EXPECT_EQ(copy, input);
  }
}

TEST(KeyboardLayout, GhbdtnIsPrivet) {
  EXPECT_EQ(LatToCyr("ghbdtn"), "\xEF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(CyrToLat("\xEF\xF0\xE8\xE2\xE5\xF2"), "ghbdtn");
  EXPECT_EQ(LatToCyr("'/?"), "'/?");
  EXPECT_EQ(CyrToLat("'"), "'");
  EXPECT_EQ(LatToCyr("`\""), "\xFD\xDD");  // э Э from grave accent and quote
  EXPECT_EQ(CyrToLat("\xFD"), "`");
}

TEST(KeyboardLayout, ExactInversesOnTheSixtyFourCharacters) {
  const std::string keys = "qwertyuiop[]asdfghjkl;'zxcvbnm,.QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>`";
  std::string mapped;
  for (char c : keys)
    if (c != '\'') mapped += c;
  ASSERT_EQ(mapped.size(), 64u);
  const std::string cyr = LatToCyr(mapped);
  for (char c : cyr) EXPECT_GE(static_cast<uint8_t>(c), 0xC0) << c;
  EXPECT_EQ(CyrToLat(cyr), mapped);
  // ё, Ё and digits pass both ways.
  EXPECT_EQ(LatToCyr("\xB8\xA8"
                     "0123"),
            "\xB8\xA8"
            "0123");
  EXPECT_EQ(CyrToLat("\xB8\xA8"
                     "0123"),
            "\xB8\xA8"
            "0123");
}

TEST(Case, WindowsPairsOnly) {
  EXPECT_EQ(UpperCaseText("\xB8\xEB\xEA\xE0"), "\xA8\xCB\xCA\xC0");  // ёлка
  EXPECT_EQ(LowerCaseText("ABC 123 .,!"), "abc 123 .,!");
  const std::string small = "\x90\x83\x9A\x9C\x9D\x9E\x9F\xA2\xB3\xB4\xBA\xBC\xBE\xBF";
  const std::string capital = "\x80\x81\x8A\x8C\x8D\x8E\x8F\xA1\xB2\xA5\xAA\xA3\xBD\xAF";
  EXPECT_EQ(UpperCaseText(small), capital);
  EXPECT_EQ(LowerCaseText(capital), small);
  EXPECT_EQ(UpperCaseText("\xB5"), "\xB5");  // micro sign has no capital
  // Nothing else changes: count the bytes each direction moves.
  int upper_moved = 0, lower_moved = 0;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    upper_moved += UpperCaseText(one) != one;
    lower_moved += LowerCaseText(one) != one;
  }
  EXPECT_EQ(upper_moved, 26 + 33 + 14);
  EXPECT_EQ(lower_moved, 26 + 33 + 14);
}

TEST(CollapseSpaces, RunsBecomeOneSpace) {
  EXPECT_EQ(CollapseSpaces("a   b"), "a b");
  EXPECT_EQ(CollapseSpaces("a  "), "a ");
  EXPECT_EQ(CollapseSpaces(" "), " ");
  EXPECT_EQ(CollapseSpaces("x"), "x");
  EXPECT_EQ(CollapseSpaces("a\t\t b \r\n  c"), "a\t\t b \r\n c");
}

TEST(DeleteTags, DropsTagsAndUnclosedRest) {
  EXPECT_EQ(DeleteTags("<b>bold</b> text"), "bold text");
  EXPECT_EQ(DeleteTags("a > b"), "a > b");
  EXPECT_EQ(DeleteTags("a <b"), "a ");
  EXPECT_EQ(DeleteTags("<a<b>c>"), "c>");
  EXPECT_EQ(DeleteTags("<>"), "");
}

TEST(UnescapeFormUrlencoded, Fields) {
  EXPECT_EQ(UnescapeFormUrlencoded("name=%D0%E0&x=1+2"), "name=\xD0\xE0\r\nx=1 2");
  EXPECT_EQ(UnescapeFormUrlencoded("%4\r\n1"), "A");
  EXPECT_EQ(UnescapeFormUrlencoded("%\r\n4\n1"), "A");
  EXPECT_EQ(UnescapeFormUrlencoded("%zz"), " ");
  EXPECT_EQ(UnescapeFormUrlencoded("%"), " ");
  EXPECT_EQ(UnescapeFormUrlencoded("%A"), "\x0A");
  EXPECT_EQ(UnescapeFormUrlencoded("%4z"), " ");
  EXPECT_EQ(UnescapeFormUrlencoded("a\r\nb\nc\r"), "abc");
  EXPECT_EQ(UnescapeFormUrlencoded("%20%7e%7E"), " ~~");
  // Three line breaks after % are more than the two skipped.
  EXPECT_EQ(UnescapeFormUrlencoded("%\r\n\r41"), " 1");
}

TEST(Transforms, LinearOnLongInput) {
  // An unclosed "<" at the start and a long run of spaces: quadratic
  // implementations would take minutes here.
  const std::string tags = "<" + std::string(1 << 22, 'x');
  EXPECT_EQ(DeleteTags(tags), "");
  const std::string spaces(1 << 22, ' ');
  EXPECT_EQ(CollapseSpaces(spaces), " ");
  const std::string escapes(1 << 22, '%');
  // Each escape takes "%" and the next two bytes as its digits.
  EXPECT_EQ(UnescapeFormUrlencoded(escapes).size(), ((1u << 22) + 2) / 3);
}

}  // namespace
}  // namespace lirvane
