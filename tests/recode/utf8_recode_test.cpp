// UTF-8 as a code page (65001 in, -65001 out), checked against glibc's
// iconv for CP1251 and UTF-8, and piece by piece against the whole text.
#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>

#include "recode/codepage.h"
#include "recode/cp1251_unicode.h"
#include "recode/recode.h"
#include "recode/recode_stream.h"
#include "recode/utf8.h"
#include "recode/utf8_recode.h"

namespace lirvane {
namespace {

// `text` converted by iconv, or nullopt when iconv refuses it.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  char* o = out.data();
  size_t in_left = text.size(), out_left = out.size();
  const size_t r = iconv(cd, &in, &in_left, &o, &out_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
}

std::string AllBytes() {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  return all;
}

TEST(Utf8Code, EveryWindows1251ByteAsIconvWritesIt) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string got = Recode(byte, -kCodeUtf8);
    // 0x98 is the one byte Windows-1251 leaves undefined; the panes show it
    // as U+0098, and so does the library.
    const std::string expected =
        b == 0x98 ? std::string("\xC2\x98") : *Iconv("UTF-8", "CP1251", byte);
    EXPECT_EQ(got, expected) << "byte 0x" << std::hex << b;
    EXPECT_EQ(Recode(expected, kCodeUtf8), byte) << "byte 0x" << std::hex << b;
  }
}

TEST(Utf8Code, EveryByteValueSurvivesTheRoundTrip) {
  std::string text;
  for (int repeat = 0; repeat < 40; ++repeat) text += AllBytes();  // past every fast path
  const std::string utf8 = Recode(text, -kCodeUtf8);
  EXPECT_TRUE(Iconv("UTF-16LE", "UTF-8", utf8).has_value()) << "not well-formed UTF-8";
  EXPECT_EQ(Recode(utf8, kCodeUtf8), text);
}

TEST(Utf8Code, RussianTextMatchesIconvBothWays) {
  const std::string utf8 =
      "Съешь же ещё этих мягких французских булок, да выпей чаю. "
      "ЁЖИК №5 — «ёлка» … 100 € ™ ‰ Ђ ў";
  const std::string win = *Iconv("CP1251", "UTF-8", utf8);
  EXPECT_EQ(Recode(utf8, kCodeUtf8), win);
  EXPECT_EQ(Recode(win, -kCodeUtf8), utf8);
}

TEST(Utf8Code, CharactersWithoutAByteBecomeQuestionMarks) {
  EXPECT_EQ(Recode("caf\xC3\xA9", kCodeUtf8), "caf?");      // é, two bytes
  EXPECT_EQ(Recode("\xE4\xB8\xAD!", kCodeUtf8), "?!");      // a CJK character
  EXPECT_EQ(Recode("\xF0\x9F\x98\x80.", kCodeUtf8), "?.");  // an emoji, four bytes
  EXPECT_EQ(Recode("\xEF\xBF\xBD", kCodeUtf8), "?");        // U+FFFD itself
}

TEST(Utf8Code, EachByteOfAMalformedSequenceBecomesAQuestionMark) {
  struct Case {
    const char* name;
    std::string in, out;
  };
  const Case cases[] = {
      {"cut at the end", "\xD0", "?"},
      {"cut three-byte at the end", "ab\xE2\x82", "ab??"},
      {"cut before ASCII",
       "\xE2\x82"
       "A",
       "??A"},
      {"cut before a letter", "\xD0\xD0\xB0", "?\xE0"},
      {"lone continuation", "\x80\xBF", "??"},
      {"overlong two-byte", "\xC0\x80\xC1\xBF", "????"},
      {"overlong three-byte", "\xE0\x80\xAF", "???"},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", "????"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"F5 to FF", "\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF", "???????????"},
  };
  for (const Case& c : cases) EXPECT_EQ(Recode(c.in, kCodeUtf8), c.out) << c.name;
}

TEST(Utf8Code, ByteOrderMarkDroppedOnlyAtTheStart) {
  EXPECT_EQ(Recode("\xEF\xBB\xBF\xD0\xB0", kCodeUtf8), "\xE0");
  EXPECT_EQ(Recode("\xEF\xBB\xBF", kCodeUtf8), "");
  EXPECT_EQ(Recode("a\xEF\xBB\xBF", kCodeUtf8), "a?");  // U+FEFF inside: no byte
  EXPECT_EQ(Recode("\xEF\xBB", kCodeUtf8), "??");
  EXPECT_EQ(Recode("\xE0", -kCodeUtf8), "\xD0\xB0");  // no mark written
}

TEST(Utf8Code, OnlyTheUtf8CodesChangeLength) {
  EXPECT_TRUE(ChangesLength(kCodeUtf8));
  EXPECT_TRUE(ChangesLength(-kCodeUtf8));
  for (int32_t code : {8, -8, 866, -866, 595, -595, 111, -111, 1251, 0, 7})
    EXPECT_FALSE(ChangesLength(code)) << code;
  std::string text = "\xCF\xF0\xE8\xE2\xE5\xF2";  // Привет
  RecodeInPlace(text, -kCodeUtf8);
  EXPECT_EQ(text, "Привет");
  RecodeInPlace(text, kCodeUtf8);
  RecodeInPlace(text, -8);
  EXPECT_EQ(text, Recode("\xCF\xF0\xE8\xE2\xE5\xF2", -8));
}

TEST(Utf8Code, EveryLengthAroundTheFastPaths) {
  // Cyrillic and ASCII in every position relative to the 8- and 16-byte
  // steps, and the empty text.
  for (size_t n = 0; n < 70; ++n) {
    std::string win;
    for (size_t i = 0; i < n; ++i)
      win.push_back(static_cast<char>(i % 5 == 3 ? 0xE0 + i % 32 : 'a' + i % 26));
    const std::string utf8 = Recode(win, -kCodeUtf8);
    EXPECT_EQ(utf8, *Iconv("UTF-8", "CP1251", win)) << n;
    EXPECT_EQ(Recode(utf8, kCodeUtf8), win) << n;
  }
}

// The rules of the code page spelled out one character at a time, with no
// fast path: what the vector and scalar paths must both agree with.
std::string ReferenceUtf8ToWin(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string out;
  for (size_t i = 0; i < text.size();) {
    char32_t c;
    const size_t length = DecodeUtf8(text, i, c);
    const int byte = length ? UnicodeToCp1251(c) : -1;
    out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    i += length ? length : 1;
  }
  return out;
}

std::string ReferenceWinToUtf8(std::string_view text) {
  std::string out;
  for (char b : text) AppendUtf8(out, Cp1251ToUnicode(static_cast<uint8_t>(b)));
  return out;
}

// Random texts built from the pieces real and broken texts are made of, in
// runs long enough to reach the vector paths and broken often enough to
// leave them at every position.
std::string RandomUtf8(std::mt19937& rng, size_t pieces) {
  static const char* const kPieces[] = {
      "a",
      " ",
      "Hello, world. ",
      "\xD0\xB0",
      "\xD0\x90",
      "\xD1\x8F",
      "\xD0\xBF\xD1\x80",
      "\xD1\x91",
      "\xD0\x81",
      "\xE2\x84\x96",
      "\xE2\x80\x94",
      "\xC2\xAB",
      "\xC3\xA9",
      "\xF0\x9F\x98\x80",
      "\xD0",
      "\xD1",
      "\x80",
      "\xBF",
      "\xE2\x82",
      "\xFF",
      "\xC0\x80",
      "\xED\xA0\x80",
      "\xD0\xD0",
      "\xD1\x90",
      "\xD0\x8F",
      "\r\n",
  };
  std::string text;
  std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> run(1, 24);
  for (size_t k = 0; k < pieces; ++k) {
    const char* piece = kPieces[pick(rng)];
    // Letters and ASCII mostly come in runs, as in prose.
    const int times = pick(rng) < 8 ? run(rng) : 1;
    for (int t = 0; t < times; ++t) text += piece;
  }
  return text;
}

TEST(Utf8Code, RandomTextsReadAsTheReferenceReadsThem) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomUtf8(rng, round % 40);
    ASSERT_EQ(Recode(text, kCodeUtf8), ReferenceUtf8ToWin(text)) << "round " << round;
  }
}

TEST(Utf8Code, RandomWindows1251TextsWriteAsTheReferenceWrites) {
  std::mt19937 rng(1251);
  std::uniform_int_distribution<int> kind(0, 9), any(0, 255), letter(0xC0, 0xFF), ascii(0x20, 0x7E),
      run(1, 40);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int k = round % 30; k > 0; --k) {
      const int n = run(rng);
      const int which = kind(rng);
      for (int j = 0; j < n; ++j)
        text.push_back(static_cast<char>(which < 4   ? letter(rng)
                                         : which < 8 ? ascii(rng)
                                                     : any(rng)));
    }
    const std::string utf8 = Recode(text, -kCodeUtf8);
    ASSERT_EQ(utf8, ReferenceWinToUtf8(text)) << "round " << round;
    ASSERT_EQ(Recode(utf8, kCodeUtf8), text) << "round " << round;
  }
}

// Feeds `text` in pieces cut at `cuts` and returns what the stream gave.
std::string Streamed(int32_t code, const std::string& text, std::vector<size_t> cuts) {
  RecodeStream stream(code);
  std::string out;
  size_t from = 0;
  cuts.push_back(text.size());
  for (size_t cut : cuts) {
    stream.Feed(std::string_view(text).substr(from, cut - from), out);
    from = cut;
  }
  stream.Finish(out);
  return out;
}

TEST(RecodeStream, AnyTwoCutsGiveTheWholeTextsResult) {
  // A mark, two-, three- and four-byte characters, malformed and cut
  // sequences: every way of cutting it must read as the whole text does.
  const std::string text =
      "\xEF\xBB\xBF"
      "Ёж \xE2\x84\x96 \xF0\x9F\x98\x80 \xE2\x82 x\xC3\xA9\xD0";
  const std::string whole = Recode(text, kCodeUtf8);
  for (size_t a = 0; a <= text.size(); ++a)
    for (size_t b = a; b <= text.size(); ++b)
      ASSERT_EQ(Streamed(kCodeUtf8, text, {a, b}), whole) << "cuts " << a << " " << b;
}

TEST(RecodeStream, ByteByByte) {
  std::vector<size_t> every;
  const std::string text =
      "\xEF\xBB\xBF\xEF\xBB\xBF"
      "да\xE2\x80\x94нет\xF0\x9F";
  for (size_t i = 1; i < text.size(); ++i) every.push_back(i);
  EXPECT_EQ(Streamed(kCodeUtf8, text, every), Recode(text, kCodeUtf8));
  // A text that starts like a mark but is not one.
  EXPECT_EQ(Streamed(kCodeUtf8,
                     "\xEF\xBB"
                     "A",
                     {1, 2}),
            "??A");
  EXPECT_EQ(Streamed(kCodeUtf8, "\xEF", {}), "?");
  EXPECT_EQ(Streamed(kCodeUtf8, "", {}), "");
}

TEST(RecodeStream, EightBitAndOutgoingCodesNeedNoMemory) {
  const std::string win = AllBytes();
  for (int32_t code : {8, -8, 866, 111, 1251, -kCodeUtf8})
    for (size_t cut = 0; cut <= win.size(); cut += 37)
      EXPECT_EQ(Streamed(code, win, {cut}), Recode(win, code)) << code << " at " << cut;
}

}  // namespace
}  // namespace lirvane
