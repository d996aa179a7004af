// "Авто" on garbled held-out paragraphs, one test per kind of garbling
// (tests/recode/data/repair, made by bench/repair_cases.py with Python's
// codecs), and the rules no repair may break.
#include "recode/repair.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "recode/code_pages.h"
#include "recode/cp1251_unicode.h"
#include "recode/detect_recoding.h"
#include "recode/recode.h"

namespace lirvane {
namespace {

using Case = std::pair<std::string, std::string>;  // input, expected

std::vector<Case> LoadCases(const std::string& klass) {
  std::ifstream f(std::string(LIRVANE_REPAIR_DATA) + "/repair/" + klass + ".cases",
                  std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  const std::string all = s.str();
  std::vector<Case> cases;
  for (size_t at = 0; at < all.size();) {
    const size_t mid = all.find("\n\x1d\n", at);
    const size_t end = all.find("\n\x1e\n", mid);
    if (mid == std::string::npos || end == std::string::npos) break;
    cases.emplace_back(all.substr(at, mid - at), all.substr(mid + 3, end - mid - 3));
    at = end + 3;
  }
  return cases;
}

class RepairClass : public ::testing::TestWithParam<const char*> {};

TEST_P(RepairClass, HeldOutParagraphsComeBackExactly) {
  const std::string klass = GetParam();
  const std::vector<Case> cases = LoadCases(klass);
  ASSERT_GE(cases.size(), 4u) << klass;
  const bool bytes = klass.rfind("bytes_", 0) == 0;
  for (const auto& [input, expected] : cases) {
    const Repair r = bytes ? RepairBytes(input) : RepairText(input);
    EXPECT_EQ(r.text, expected) << klass << ": " << r.description;
    // Garbling the result along the chain gives the input back.
    if (!bytes && klass != "mixed_lines" && r.chains.size() == 1) {
      std::u32string again = *Utf8ToU32(r.text);
      ASSERT_TRUE(RedoChain(again, r.chains[0].steps));
      EXPECT_EQ(U32ToUtf8(again), input);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Garbled, RepairClass,
                         ::testing::Values("utf8_as_1251", "utf8_as_1251_twice", "utf8_as_1252",
                                           "utf8_as_1252_twice", "utf8_as_latin1", "utf8_as_koi8",
                                           "utf8_as_866", "win1251_as_latin1", "win1251_as_1252",
                                           "koi8_as_latin1", "win1251_as_866", "koi8_as_1251",
                                           "correct", "correct_extras", "mixed_lines",
                                           "bytes_utf8_with_1251_lines"));

TEST(Repair, NamesTheStepsInWords) {
  const Repair r = RepairText(
      "Р\u00A0СџРЎР‚Р\u00A0С‘Р\u00A0Р†Р\u00A0ВµРЎвЂљ Р\u00A0С\u0098Р\u00A0С‘РЎР‚, "
      "Р\u00A0С”Р\u00A0В°Р\u00A0С” Р\u00A0Т‘Р\u00A0ВµР\u00A0В»Р\u00A0В°?");
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(r.text, "Привет мир, как дела?");
  EXPECT_EQ(r.description, "Авто: UTF-8, прочитанный как Windows-1251, дважды");
}

// Texts that must come back as they are, with the reason.
TEST(Repair, LeavesCorrectAndUnjudgeableTextAlone) {
  for (const char* text : {
           "Привет, мир 😀 café €™中文",         // characters Windows-1251 lacks
           "Привіт, як справи? Добре, дякую!",  // Ukrainian
           "яяяяяяяяяяяяяяяяяяяяяяяяяяяяяяяя",  // one letter repeated
           "Le café est très bon, à bientôt. Über Straße, Grüße!",
           "Ça été déjà très élégant à Noël",
           "Один говорит:\"Я похлопочу\"",
           "€ элемент ar «» слишком большого размера",  // € is a Mac capital's byte
           "plain ASCII text\nwith LF line ends\n",
           "",
           // UTF-8 read as Windows-1252 with its C1 characters lost: no
           // chain gives it back, and Mac Cyrillic would scatter letters.
           "ÐŸÑ€Ð¸Ð²ÐµÑ‚, Ð¼Ð¸Ñ€! ÐšÐ°Ðº Ð´ÐµÐ»Ð° Ñƒ Ñ‚ÐµÐ±Ñ ÑÐµÐ³Ð¾Ð´Ð½Ñ?",
       }) {
    const Repair r = RepairText(text);
    EXPECT_FALSE(r.changed) << text << ": " << r.description;
    EXPECT_EQ(r.text, text);
    EXPECT_TRUE(r.chains.empty());
    EXPECT_NE(r.description.find("не изменён"), std::string::npos) << r.description;
  }
}

TEST(Repair, WesternReadingsOfRussianPages) {
  EXPECT_EQ(RepairText("Ïðèâåò ìèð, êàê äåëà?").text, "Привет мир, как дела?");
  EXPECT_EQ(RepairText("ðÒÉ×ÅÔ ÍÉÒ, ËÁË ÄÅÌÁ?").text, "Привет мир, как дела?");
  EXPECT_EQ(RepairText("╧ЁштхЄ ьшЁ, ъръ фхыр?").text, "Привет мир, как дела?");
}

TEST(Repair, BytesOfAPlainPageAreReadInIt) {
  const std::string win = Recode("Один говорит: \"Я похлопочу\", а другой молчит.", kCodeUtf8);
  const Repair same = RepairBytes(win);
  EXPECT_FALSE(same.changed) << same.description;
  EXPECT_EQ(Recode(same.text, kCodeUtf8), win);  // back to the very bytes

  const std::string koi = Recode(win, -kCodeKoi8);
  const Repair r = RepairBytes(koi);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(r.source_page, CodePageId::kKoi8R);
  EXPECT_EQ(Recode(r.text, kCodeUtf8), win);
}

// A garbled text with a character added after the garbling (a real 😀)
// cannot be undone exactly; it is left, and the reason is that character.
TEST(Repair, SaysWhichCharacterNoGarblingCouldHaveMade) {
  const std::string text = "ÐŸÑ€Ð¸Ð²ÐµÑ‚, Ð¼Ð¸Ñ€! ÐšÐ°Ðº Ð´ÐµÐ»Ð°? 😀";
  const Repair r = RepairText(text);
  EXPECT_FALSE(r.changed);
  EXPECT_NE(r.description.find("«😀»"), std::string::npos) << r.description;
  EXPECT_NE(RepairText("a 😀 b").description.find("мало русских букв"), std::string::npos);
}

// A KOI8-R file made by recoding only the letters of a Windows-1251 text
// keeps the Windows-1251 bytes of its symbols: they are read as such, not
// as the box drawing KOI8-R has there.
TEST(Repair, SymbolsKeptByALetterRecodingAreReadBack) {
  const std::string win =
      Recode("Он сказал: «Приходите завтра» — и ушёл домой, в дом № 5.", kCodeUtf8);
  const Repair r = RepairBytes(Recode(win, -kCodeKoi8));
  EXPECT_EQ(r.source_page, CodePageId::kKoi8R);
  EXPECT_EQ(Recode(r.text, kCodeUtf8), win) << r.text;
}

// Wrong recodings of an 8-bit text are undone and told as the recoding
// commands name them, in Russian the status line can show.
TEST(Repair, WrongRecodingsOfBytesAreToldInWords) {
  const std::string win = Recode(
      "Один говорит: \"Я похлопочу\", а другой молчит и смотрит в окно на улицу.", kCodeUtf8);
  const Repair r = RepairBytes(Recode(Recode(win, -kCodeKoi8), -kCodeKoi8));
  EXPECT_EQ(Recode(r.text, kCodeUtf8), win);
  EXPECT_EQ(r.description, "Авто: дважды Koi->Win");
}

// The recoding tables move letters only. A wrong Koi->Win keeps ё, which
// Win->Koi alone would make Ј; a wrong Win->Koi keeps « — №, which the
// page model alone reads as box drawing once the text is saved as UTF-8.
// Both come back exactly, as bytes and as UTF-8.
TEST(Repair, WrongRecodingsComeBackWithTheirYoAndSymbols) {
  const std::string utf8 =
      "Он сказал: «Приходите завтра» — и ушёл домой, в дом № 5, не попрощавшись.";
  const std::string win = Recode(utf8, kCodeUtf8);
  const Repair bytes = RepairBytes(Recode(win, kCodeKoi8));
  EXPECT_EQ(bytes.text, utf8) << bytes.description;
  const Repair saved = RepairBytes(Recode(Recode(win, -kCodeKoi8), -kCodeUtf8));
  EXPECT_EQ(saved.text, utf8) << saved.description;
  EXPECT_EQ(RepairText(Recode(Recode(win, -kCodeKoi8), -kCodeUtf8)).text, utf8);
  // Koi->Win run on it, as the window shows it: no reading of one page as
  // another has « — № as they stand, the recoding commands undo it.
  const Repair pane = RepairText(Recode(Recode(win, kCodeKoi8), -kCodeUtf8));
  EXPECT_EQ(pane.text, utf8);
  EXPECT_EQ(pane.description, "Авто: дважды Win->Koi, затем Koi->Win");
}

// A Windows-1251 file with a line pieced in from a KOI8-R one: that line
// is read as what it is, the others stay.
TEST(Repair, EightBitLinesFromAnotherPageAreReadAsSuch) {
  const std::string win =
      Recode("Один говорит: я похлопочу, а другой молчит и смотрит в окно.\n", kCodeUtf8);
  const std::string koi = Recode(
      Recode("Вечером мы долго сидели у реки и говорили о том, как изменился город.\n", kCodeUtf8),
      -kCodeKoi8);
  const Repair r = RepairBytes(win + win + win + koi + win);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(Recode(r.text, kCodeUtf8), win + win + win + Recode(koi, kCodeKoi8) + win);
  ASSERT_EQ(r.chains.size(), 1u);
  EXPECT_EQ(r.chains[0].lines, 1u);
}

// In DOS 866 a short word of р..я and а..п letters is well-formed UTF-8
// ("тип" is the bytes of "⨯"): such a line of an 866 file is read in 866.
// A real UTF-8 line among 8-bit ones stays UTF-8: with Russian letters, or
// with signs whose bytes are no letters in the page.
TEST(Repair, ShortLinesOfAPageThatPassForUtf8AreReadInIt) {
  const std::string text =
      "struct sock_extended_err {\n"
      "    uint32_t ee_errno;   /* номер ошибки */\n"
      "    uint8_t  ee_type;    /* тип */\n"
      "    uint8_t  ee_origin;  /* где возникла ошибка */\n"
      "};\n";
  const std::string dos = Recode(Recode(text, kCodeUtf8), -866);
  ASSERT_TRUE(IsWellFormedUtf8(dos.substr(dos.find("ee_type"), 20)));
  const Repair r = RepairBytes(dos);
  EXPECT_EQ(r.text, text) << r.description;
  EXPECT_EQ(r.source_page, CodePageId::kDos866);

  const std::string win = Recode("Один говорит: я похлопочу, а другой молчит.\n", kCodeUtf8);
  for (const std::string utf8_line : {"Вечером мы сидели у реки.\n", "© 2024 → ✓ 😀\n"}) {
    const Repair mixed = RepairBytes(win + utf8_line + win);
    const std::string want = Recode(win, -kCodeUtf8) + utf8_line + Recode(win, -kCodeUtf8);
    EXPECT_EQ(mixed.text, want) << utf8_line;
  }
}

TEST(Repair, BinaryDataIsNotText) {
  std::string data;
  for (int i = 0; i < 4096; ++i) data.push_back(static_cast<char>((i * 7919) % 251));
  const Repair r = RepairBytes(data);
  EXPECT_FALSE(r.changed);
  EXPECT_TRUE(r.chains.empty());
}

// A Mac Cyrillic reading leaves Windows-1251 small letters where they are;
// weighed by what its bytes mean in Mac Cyrillic (0xCF is ѕ, not П) it is no match for the
// text itself.
TEST(Repair, MacReadingDoesNotPassForWindows1251) {
  const std::string win = Recode("Один говорит:\"Я похлопочу\"", kCodeUtf8);
  const Detection d = DetectRecoding(win);
  EXPECT_TRUE(d.chain.empty()) << d.chain.steps[0];
  // Mac Cyrillic has И where Windows-1251 has €: a right file with a lone €
  // stays, a Mac file shows in its я and in capitals that begin words.
  for (const char* right : {"€ элемент ar «» слишком большого размера",
                            "ip_msfilter € с n источниками в списке источников."}) {
    const Repair r = RepairBytes(Recode(right, kCodeUtf8));
    EXPECT_FALSE(r.changed) << r.text;
  }
  for (const char* mac : {"операция возвращает", "Сдерживающие правила, и ещё одно"}) {
    const Repair r = RepairBytes(Recode(Recode(mac, kCodeUtf8), -kCodeMac));
    EXPECT_EQ(r.text, mac) << r.description;
  }
}

TEST(CodePages, EveryByteReadsAndWritesBack) {
  for (int p = 1; p < kCodePageIds; ++p) {
    const auto page = static_cast<CodePageId>(p);
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const auto text = DecodeText(all, page);
    ASSERT_TRUE(text);
    EXPECT_EQ(EncodeText(*text, page), all) << CodePageName(page);
  }
  // Undefined bytes read as the character of the same value.
  EXPECT_EQ(DecodeByte(CodePageId::kWin1251, 0x98), U'\u0098');
  EXPECT_EQ(DecodeByte(CodePageId::kWin1252, 0x81), U'\u0081');
  EXPECT_EQ(DecodeByte(CodePageId::kMacCyrillic, 0xCF), U'ѕ');
}

// Whole files are undone on their UTF-8 directly: the same result as
// through UTF-32, and done again, the same text back.
TEST(CodePages, StepsOnUtf8MatchStepsOnCharacters) {
  std::vector<std::u32string> texts;
  for (int p = 1; p < kCodePageIds; ++p) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    texts.push_back(*DecodeText(all, static_cast<CodePageId>(p)));
  }
  texts.push_back(*Utf8ToU32("Привет, мир! 😀 café € ™ 中 \u0098"));
  for (int w = 0; w < kCodePageIds; ++w) {
    for (int r = 1; r < kCodePageIds; ++r) {
      const GarblingStep step{static_cast<CodePageId>(w), static_cast<CodePageId>(r)};
      for (const std::u32string& text : texts) {
        const std::string utf8 = U32ToUtf8(text);
        const auto undone = UndoStep(text, step);
        const auto undone_utf8 = UndoStepUtf8(utf8, step);
        ASSERT_EQ(undone.has_value(), undone_utf8.has_value()) << w << ">" << r;
        if (undone) {
          EXPECT_EQ(U32ToUtf8(*undone), *undone_utf8);
          EXPECT_EQ(DoStepUtf8(*undone_utf8, step), utf8);
        }
        const auto done = DoStep(text, step);
        const auto done_utf8 = DoStepUtf8(utf8, step);
        ASSERT_EQ(done.has_value(), done_utf8.has_value());
        if (done) {
          EXPECT_EQ(U32ToUtf8(*done), *done_utf8);
        }
      }
    }
  }
}

// The validator takes eight bytes at a time where it can: faults inside
// such a block must not slip through.
TEST(CodePages, OnlyWellFormedUtf8PassesAsSuch) {
  const std::string good[] = {"", "abc", "Привет, мир", "ПриветПривет", "€😀", "\xF4\x8F\xBF\xBF"};
  for (const std::string& g : good) EXPECT_TRUE(IsWellFormedUtf8(g)) << g;
  const std::string bad[] = {
      "\xC0\x80",          // overlong NUL
      "\xC1\xBF",          // overlong
      "\xE0\x80\x80",      // overlong
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xF5\x80\x80\x80",  // no such lead
      "\xD0",              // cut
      "\xD0\xBF\xD1",      // cut after a whole letter
      "\x80",              // a lone continuation
      "\xD0\x41",          // no continuation
  };
  for (const std::string& b : bad) {
    for (const std::string& around : {std::string(), std::string("Пр"), std::string("При")}) {
      // In every position of an eight-byte block of letters.
      for (size_t at = 0; at <= 8; ++at) {
        std::string text = around + "ПриветПривет";
        text.insert(std::min(at * 2, text.size()), b);
        EXPECT_FALSE(IsWellFormedUtf8(text)) << at;
      }
    }
  }
  EXPECT_TRUE(IsAscii("plain text, 0123456789"));
  EXPECT_FALSE(IsAscii("plain text, 0123456789 é"));
}

TEST(CodePages, StepsOfTheRecodingCommandsKeepTheirCodes) {
  EXPECT_EQ(StepCode({CodePageId::kKoi8R, CodePageId::kWin1251}), kCodeKoi8);
  EXPECT_EQ(StepCode({CodePageId::kWin1251, CodePageId::kDos866}), -kCodeAlt866);
  EXPECT_EQ(StepCode({CodePageId::kUtf8, CodePageId::kWin1251}), 0);
  // Undoing "KOI8-R read as Windows-1251" is what code 8 does to letters.
  const std::string koi_as_win = Recode(Recode("Привет", kCodeUtf8), -kCodeKoi8);
  std::u32string text = *DecodeText(koi_as_win, CodePageId::kWin1251);
  ASSERT_TRUE(UndoChain(text, {{CodePageId::kKoi8R, CodePageId::kWin1251}}));
  EXPECT_EQ(U32ToUtf8(text), "Привет");
}

}  // namespace
}  // namespace lirvane
