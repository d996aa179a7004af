// Every byte of every code page against glibc's iconv tables, which are an
// independent statement of the published code pages.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "recode/codepage.h"
#include "recode/recode.h"

namespace lirvane {
namespace {

// One byte of `charset` as a Unicode code point, if iconv knows it.
std::optional<char32_t> ToUnicode(const char* charset, uint8_t byte) {
  iconv_t cd = iconv_open("UTF-32LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  char out[4];
  char* pin = in;
  char* pout = out;
  size_t in_left = 1, out_left = 4;
  const size_t r = iconv(cd, &pin, &in_left, &pout, &out_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || out_left != 0) return std::nullopt;
  return static_cast<char32_t>(static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8 |
                               static_cast<uint8_t>(out[2]) << 16 |
                               static_cast<uint8_t>(out[3]) << 24);
}

bool IsRussianLetter(char32_t c) { return (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451; }

// The byte that holds letter `c` in `charset`.
uint8_t FromUnicode(const char* charset, char32_t c) {
  for (int b = 0x80; b < 0x100; ++b)
    if (ToUnicode(charset, static_cast<uint8_t>(b)) == c) return static_cast<uint8_t>(b);
  ADD_FAILURE() << "letter U+" << std::hex << static_cast<uint32_t>(c) << " missing from "
                << charset;
  return 0;
}

std::string OneByte(int b) { return std::string(1, static_cast<char>(b)); }

struct Page {
  const char* iconv_name;
  int32_t code;
  // The foreign bytes that the Part converts besides the letters, and what
  // they become; they are one-way (not converted back).
  std::vector<std::pair<uint8_t, uint8_t>> one_way_to_win;
};

const Page kPages[] = {
    {"KOI8-R", kCodeKoi8, {}},
    {"CP866", kCodeAlt866, {{0xF8, 0xB0}, {0xFC, 0xB9}, {0xFF, 0xA0}}},
    {"ISO-8859-5", kCodeIso8859_5, {}},
    // Mac 0xFF (currency sign) is left as it is, so it reads as Win я.
    {"MACCYRILLIC", kCodeMac, {}},
};

class EveryPage : public ::testing::TestWithParam<Page> {};

TEST_P(EveryPage, IntoWindows1251ByteForByte) {
  const Page& page = GetParam();
  for (int b = 0; b < 256; ++b) {
    uint8_t expected = static_cast<uint8_t>(b);
    const auto u = ToUnicode(page.iconv_name, static_cast<uint8_t>(b));
    if (b >= 0x80 && u && IsRussianLetter(*u)) expected = FromUnicode("CP1251", *u);
    for (auto [from, to] : page.one_way_to_win)
      if (from == b) expected = to;
    const std::string got = Recode(OneByte(b), page.code);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(got[0]), expected)
        << page.iconv_name << " byte 0x" << std::hex << b;
  }
}

TEST_P(EveryPage, OutOfWindows1251ByteForByte) {
  const Page& page = GetParam();
  for (int b = 0; b < 256; ++b) {
    uint8_t expected = static_cast<uint8_t>(b);
    const auto u = ToUnicode("CP1251", static_cast<uint8_t>(b));
    if (b >= 0x80 && u && IsRussianLetter(*u)) expected = FromUnicode(page.iconv_name, *u);
    const std::string got = Recode(OneByte(b), -page.code);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(got[0]), expected)
        << page.iconv_name << " Win byte 0x" << std::hex << b;
  }
}

TEST_P(EveryPage, TheSixtySixLettersSurviveTheRoundTrip) {
  const Page& page = GetParam();
  std::string letters;
  for (int b = 0xC0; b <= 0xFF; ++b) letters += OneByte(b);
  letters += "\xA8\xB8";
  ASSERT_EQ(letters.size(), 66u);
  EXPECT_EQ(Recode(Recode(letters, -page.code), page.code), letters);
}

INSTANTIATE_TEST_SUITE_P(CodePages, EveryPage, ::testing::ValuesIn(kPages), [](const auto& info) {
  std::string name = info.param.iconv_name;
  std::erase(name, '-');
  return name;
});

TEST(Recode, CodesWithoutARecoderCopy) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += OneByte(b);
  for (int32_t code : {1251, -1251, 0, 7, 1252, -1, 2147483647, -2147483647 - 1})
    EXPECT_EQ(Recode(all, code), all) << code;
}

TEST(Recode, EmptyTextForEveryCode) {
  for (int32_t code : {8, -8, 866, -866, 595, -595, 111, -111, 1251, 0})
    EXPECT_EQ(Recode("", code), "");
}

TEST(Recode, TellingRowsOfThePart) {
  EXPECT_EQ(KoiToWin("\xC1\xC2\xD7"), "\xE0\xE1\xE2");
  EXPECT_EQ(WinToKoi("\xE0\xE1\xE2"), "\xC1\xC2\xD7");
  EXPECT_EQ(KoiToWin("\xC0\xFF\xF1\xE1\x9A\xBF"), "\xFE\xDA\xDF\xC0\x9A\xBF");
  EXPECT_EQ(AltToWin("\xFC"), "\xB9");
  EXPECT_EQ(WinToAlt("\xB9\xB0\xA0"), "\xB9\xB0\xA0");
  EXPECT_EQ(MacToWin("\xDF\xFF"), "\xFF\xFF");
  EXPECT_EQ(WinToMac("\xFF\xDF"), "\xDF\x9F");
  // Koi->Koi->Win: а goes to 0xC1 and then to 0xE2.
  EXPECT_EQ(WinToKoi("\xE0"), "\xC1");
  EXPECT_EQ(WinToKoi(WinToKoi("\xE0")), "\xE2");
}

TEST(Recode, KeepsLengthAndInputAndZeroBytes) {
  std::string text("a\0\xC1\xE0", 4);
  const std::string copy = text;
  for (int32_t code : {8, -8, 866, -866, 595, -595, 111, -111}) {
    const std::string out = Recode(text, code);
    EXPECT_EQ(out.size(), text.size());
    EXPECT_EQ(out[1], '\0');
    EXPECT_EQ(text, copy);
  }
}

TEST(Recode, EveryLengthKeepsItsLength) {
  std::string text;
  for (int n = 0; n <= 200; ++n) {
    for (int32_t code : {8, -8, 866, -866, 595, -595, 111, -111, 1251})
      ASSERT_EQ(Recode(text, code), Recode(std::string(text), code)) << n;
    for (int32_t code : {8, -866}) ASSERT_EQ(Recode(text, code).size(), text.size()) << n;
    text.push_back(static_cast<char>(0x80 + n % 128));
  }
}

TEST(Recode, RecodeToWorksInPlace) {
  std::string text = "\xC1\xC2\xD7 abc";
  RecodeTo(text, 8, text.data());
  EXPECT_EQ(text, "\xE0\xE1\xE2 abc");
  RecodeTo(text, 1251, text.data());
  EXPECT_EQ(text, "\xE0\xE1\xE2 abc");
}

TEST(CodePages, CaptionsBesideTheCodes) {
  EXPECT_EQ(CodePageCaption(8), "KOI-8-R");
  EXPECT_EQ(CodePageCaption(-866), "Alt-866");
  EXPECT_EQ(CodePageCaption(595), "ISO8859-5");
  EXPECT_EQ(CodePageCaption(111), "Macintosh");
  EXPECT_EQ(CodePageCaption(1251), "Win-1251");
  EXPECT_EQ(CodePageCaption(7), "");
}

}  // namespace
}  // namespace lirvane
