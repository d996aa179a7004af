#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_writer.h"
#include "tests/platform/rtf/cp1251_text.h"

namespace lirvane {
namespace {

using testing::Cp1251;

std::string RoundTrip(std::string_view text) {
  const std::optional<std::string> back = ReadRtfText(WriteRtfDocument(text, "Arial Cyr", 8));
  EXPECT_TRUE(back.has_value());
  return back.value_or("<not rich text>");
}

size_t Count(std::string_view haystack, std::string_view needle) {
  size_t n = 0;
  for (size_t at = haystack.find(needle); at != std::string_view::npos;
       at = haystack.find(needle, at + needle.size()))
    ++n;
  return n;
}

// Braces balance and the outermost group closes only at the end.
bool BracesBalance(std::string_view document) {
  int depth = 0;
  for (size_t i = 0; i < document.size(); ++i) {
    if (document[i] == '\\') {
      ++i;
    } else if (document[i] == '{') {
      ++depth;
    } else if (document[i] == '}') {
      if (--depth == 0)
        return document.substr(i + 1).find_first_not_of("\r\n") == std::string::npos;
    }
  }
  return false;
}

TEST(RtfRoundTrip, RussianLettersComeBack) {
  std::string letters;
  for (int b = 0xC0; b <= 0xFF; ++b) letters.push_back(static_cast<char>(b));
  letters += "\xA8\xB8";
  EXPECT_EQ(RoundTrip(letters), letters);
  EXPECT_EQ(RoundTrip(Cp1251("Съешь же ещё этих мягких французских булок")),
            Cp1251("Съешь же ещё этих мягких французских булок"));
}

TEST(RtfRoundTrip, EveryByteComesBack) {
  std::string all;
  for (int b = 0; b < 0x100; ++b)
    if (b != '\r' && b != '\n') all.push_back(static_cast<char>(b));
  EXPECT_EQ(RoundTrip(all), all);
  EXPECT_EQ(RoundTrip("\\{}\\\\}}{{\\par \\'cf"), "\\{}\\\\}}{{\\par \\'cf");
  EXPECT_EQ(RoundTrip(" leading and trailing spaces  "), " leading and trailing spaces  ");
  EXPECT_EQ(RoundTrip("\t1\t2"), "\t1\t2");
}

TEST(RtfRoundTrip, LinesAndLineBreaksComeBack) {
  for (std::string_view text : {"", "a", "a\r\n", "\r\n", "\r\n\r\n", "a\r\nb", "a\r\n\r\nb\r\n",
                                "1\r\n2\r\n3", "\r\nx", "x\r\n\r\n\r\n"})
    EXPECT_EQ(RoundTrip(text), text) << text;
}

TEST(RtfRoundTrip, LoneCrAndLfComeBackAsCrLf) {
  EXPECT_EQ(RoundTrip("a\rb\nc\n\rd\r"), "a\r\nb\r\nc\r\n\r\nd\r\n");
}

TEST(RtfRoundTrip, Utf8TextComesBackWhole) {
  const std::string text = "Привет, мир 😀\r\ncafé 中 € \xC2\x98 {\\}\t\r\n";
  const std::string document = WriteRtfDocumentUtf8(text, "Arial Cyr", 8);
  EXPECT_EQ(ReadRtfTextUtf8(document), text);
  // Readers that know no \uN see "?" for what Windows-1251 lacks.
  EXPECT_EQ(ReadRtfText(document), Cp1251("Привет, мир ?\r\ncaf? ? € ") + "\x98 {\\}\t\r\n");
  EXPECT_NE(document.find("\\u-10179?\\u-8704?"), std::string::npos);  // 😀 as its two halves
  EXPECT_TRUE(BracesBalance(document));
  // Text that Windows-1251 holds is written as the byte form writes it.
  const std::string russian = "Съешь же ещё этих\r\nбулок";
  EXPECT_EQ(WriteRtfDocumentUtf8(russian, "Arial", 10),
            WriteRtfDocument(Cp1251(russian), "Arial", 10));
}

TEST(RtfWriter, DocumentNamesCyrillicFontAndSize) {
  const std::string document = WriteRtfDocument(Cp1251("Привет"), "Arial Cyr", 10);
  EXPECT_TRUE(document.starts_with("{\\rtf1\\ansi\\ansicpg1251\\deff0"));
  EXPECT_NE(document.find("{\\fonttbl{\\f0\\fnil\\fcharset204 Arial Cyr;}}"), std::string::npos);
  EXPECT_NE(document.find("\\f0\\fs20 "), std::string::npos);
  EXPECT_NE(document.find("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par"), std::string::npos);
  EXPECT_TRUE(BracesBalance(document));
}

TEST(RtfWriter, DocumentIsAsciiWithOneParagraphPerLine) {
  std::string all;
  for (int b = 0; b < 0x100; ++b) all.push_back(static_cast<char>(b));
  const std::string document = WriteRtfDocument(all + "\r\n\r\nx", Cp1251("Шрифт"), 8);
  for (const char c : document) {
    if (c == '\r' || c == '\n') continue;
    ASSERT_GE(static_cast<uint8_t>(c), 0x20u) << "in " << document;
    ASSERT_LT(static_cast<uint8_t>(c), 0x80u) << "in " << document;
  }
  // The lone LF and lone CR inside `all`, the two CR LFs after it, and the
  // last line's mark.
  EXPECT_EQ(Count(document, "\\par\r\n"), 5u);
  EXPECT_TRUE(BracesBalance(document));
}

TEST(RtfWriter, FontNamesCannotBreakTheDocument) {
  const std::string document = WriteRtfDocument("text", "Evil;}{\\rtf1 Name\\par\r\n\x01", 12);
  EXPECT_NE(document.find("{\\f0\\fnil\\fcharset204 Evilrtf1 Namepar;}}"), std::string::npos);
  EXPECT_TRUE(BracesBalance(document));
  EXPECT_EQ(ReadRtfText(document), "text");

  EXPECT_NE(WriteRtfDocument("x", Cp1251("Шрифт"), 8).find("\\'d8\\'f0\\'e8\\'f4\\'f2;}"),
            std::string::npos);
  EXPECT_NE(WriteRtfDocument("x", ";;{}", 8).find("\\fcharset204 Arial;}"), std::string::npos);
}

TEST(RtfWriter, SizesOutsideWhatRtfHolds) {
  EXPECT_EQ(WriteRtfDocument("x", "A", 0).find("\\fs"), std::string::npos);
  EXPECT_EQ(WriteRtfDocument("x", "A", -3).find("\\fs"), std::string::npos);
  EXPECT_NE(WriteRtfDocument("x", "A", 1000000).find("\\fs32766 "), std::string::npos);
  EXPECT_EQ(ReadRtfText(WriteRtfDocument("x", "A", 0)), "x");
}

}  // namespace
}  // namespace lirvane

namespace lirvane {
namespace {

// A document that LibreOffice Writer 7 saved after opening one written by
// WriteRtfDocument: its text comes back as it was written.
TEST(RtfRoundTrip, ThroughLibreOffice) {
  std::ifstream in(LIRVANE_RTF_TEST_DATA "/written_by_libreoffice.rtf", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string document((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  ASSERT_NE(document.find("LibreOffice"), std::string::npos);
  EXPECT_EQ(ReadRtfText(document),
            Cp1251("Привет, мир! Ёё {braces} back\\slash\r\nСъешь же ещё этих\r\n"));
}

}  // namespace
}  // namespace lirvane
