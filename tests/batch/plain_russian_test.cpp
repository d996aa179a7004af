// The quick test that spares right UTF-8 files the detector: it must pass
// ordinary Russian prose and fail every single garbling of it, since a
// garbled file it passed would be called right.
#include "batch/plain_russian.h"

#include <gtest/gtest.h>

#include <string>

#include "recode/recode.h"
#include "recode/utf8_recode.h"

namespace lirvane {
namespace {

const char* const kProse[] = {
    "Осенний лес стоял тихо, и только ветер шевелил последние жёлтые листья. "
    "Мы шли по узкой тропинке к реке, где старый мельник когда-то держал лодку.",
    "Программа читает файл целиком, проверяет каждую строку и пишет отчёт: "
    "сколько строк исправлено, сколько оставлено как было и почему.",
    "В понедельник в библиотеке не было света, поэтому читальный зал закрыли, "
    "а книги выдавали только по записи — «до особого распоряжения».",
};

TEST(PlainRussianTest, PassesProseAndFailsEachGarblingOfIt) {
  for (const char* prose : kProse) {
    const std::string text = Utf8ToWin(prose);
    EXPECT_TRUE(IsPlainRussian1251(text)) << prose;
    // UTF-8 read as Windows-1251, once and twice.
    EXPECT_FALSE(IsPlainRussian1251(Utf8ToWin(WinToUtf8(WinToUtf8(text))))) << prose;
    EXPECT_FALSE(IsPlainRussian1251(Utf8ToWin(WinToUtf8(WinToUtf8(WinToUtf8(text)))))) << prose;
    // An 8-bit page read as Windows-1251 and the other way round. (A
    // Windows-1251 text read as Mac Cyrillic, code 111, differs from it in
    // "Я" alone: no garbling to find.)
    for (int32_t code : {8, -8, 866, -866, 595, -595, -111}) {
      EXPECT_FALSE(IsPlainRussian1251(Recode(text, code))) << prose << " " << code;
      EXPECT_FALSE(IsPlainRussian1251(Recode(Recode(text, code), code))) << prose << " " << code;
    }
  }
}

// The line-by-line test that keeps a right text with one garbled line from
// being called right as a whole.
TEST(PlainRussianTest, EachLineGarbledOnItsOwnIsSeen) {
  std::string prose;
  for (const char* p : kProse) prose += Utf8ToWin(p) + "\n";
  EXPECT_TRUE(EveryLinePlain1251(prose));
  const std::string line = Utf8ToWin("Мы шли по узкой тропинке к реке, где старый мельник жил.\n");
  EXPECT_TRUE(EveryLinePlain1251(prose + line + prose));
  // A line in another page read as Windows-1251, or recoded from one by
  // mistake. (Not code 595: its table turns letters into letters of the
  // same case and leaves the rest, which no reading of a page does.)
  for (int32_t code : {8, -8, 866, -866, -595})
    EXPECT_FALSE(EveryLinePlain1251(prose + Recode(line, code) + prose)) << code;
  EXPECT_FALSE(EveryLinePlain1251(prose + Utf8ToWin(WinToUtf8(WinToUtf8(line))) + prose));
  // A KOI8-R reading of a line that starts within a sentence: capitals
  // only, and long.
  EXPECT_FALSE(EveryLinePlain1251(
      prose + Recode(Utf8ToWin("шли по узкой тропинке к реке, где старый мельник жил\n"), -8)));
  // Headings and words in capitals are no garbling.
  EXPECT_TRUE(EveryLinePlain1251(Utf8ToWin("ОПИСАНИЕ\nСМОТРИТЕ ТАКЖЕ\n") + prose));
  EXPECT_TRUE(EveryLinePlain1251(
      Utf8ToWin("Если вы удалите строку здесь, то УКАЗАННЫЙ КОММИТ БУДЕТ УТЕРЯН.\n")));
}

TEST(PlainRussianTest, TooLittleTextIsNoEvidence) {
  EXPECT_FALSE(IsPlainRussian1251(Utf8ToWin("Привет, мир")));
  EXPECT_FALSE(IsPlainRussian1251("plain English text with no Russian at all"));
  EXPECT_FALSE(IsPlainRussian1251(std::string(100, '\xFF')));  // "яяя...": no common letters
}

// A Western text's accented letters read as Cyrillic ones in Windows-1251
// (à as а, è as и), and may count like Russian letters; its plain Latin
// letters tell it.
TEST(PlainRussianTest, WesternTextIsNoRussian) {
  std::string french;
  for (int i = 0; i < 12; ++i)
    french +=
        "Tr\xE8s pr\xE8s de l\xE0, apr\xE8s la f\xEAte, on a vu \xE0 droite du lac un "
        "\xE9l\xE8ve tr\xE8s \xE2g\xE9 qui \xE9tait l\xE0.\n";
  EXPECT_FALSE(IsPlainRussian1251(french));
  EXPECT_FALSE(IsPlainRussian1251ByLine(french));
}

}  // namespace
}  // namespace lirvane
