#include "batch/plain_russian.h"

#include <cstddef>

namespace lirvane {
namespace {

// « » – — " " „ … no-break space №
bool IsRussianPunctuation(unsigned char b) {
  switch (b) {
    case 0xAB:
    case 0xBB:
    case 0x96:
    case 0x97:
    case 0x93:
    case 0x94:
    case 0x84:
    case 0x85:
    case 0xA0:
    case 0xB9:
      return true;
    default:
      return false;
  }
}

// о е а и н т: nearly half of the letters of any Russian text, far fewer
// of a text whose letters a garbling has swapped for others.
bool IsCommonLetter(unsigned char b) {
  return b == 0xEE || b == 0xE5 || b == 0xE0 || b == 0xE8 || b == 0xED || b == 0xF2;
}

// ъ э щ ф ц: together under 2 % of the letters of Russian prose, and up to
// 5 % of technical text ("файл", "функция", "информация").
bool IsRareLetter(unsigned char b) {
  return b == 0xFA || b == 0xFD || b == 0xF9 || b == 0xF4 || b == 0xF6;
}

}  // namespace

constexpr size_t kCommonPercent = 36;
constexpr size_t kRarePercent = 6;

namespace {

struct LetterCounts {
  size_t lower = 0, upper = 0, yo = 0, other = 0, inner_upper = 0, common = 0, rare = 0;

  void Add(unsigned char b, size_t times) {
    if (b < 0x80) return;
    if (b >= 0xE0) {
      lower += times;
      if (IsCommonLetter(b)) common += times;
      if (IsRareLetter(b)) rare += times;
    } else if (b >= 0xC0) {
      upper += times;
    } else if (b == 0xA8 || b == 0xB8) {
      yo += times;
    } else if (!IsRussianPunctuation(b)) {
      other += times;
    }
  }

  bool Plain() const {
    const size_t letters = lower + upper + yo;
    // Headings and abbreviations in capitals allow a capital for every
    // three small letters, and a word such as "СтОткл" now and then.
    return letters >= 30 && lower >= 3 * upper && other * 200 <= letters && yo * 30 <= letters &&
           inner_upper * 300 <= letters && common * 100 >= lower * kCommonPercent &&
           rare * 100 <= lower * kRarePercent;
  }
};

// Latin letters no more than twice the Cyrillic ones: a Western text has
// accented letters that read as Cyrillic ones in Windows-1251 (à as а, è
// as и), but among many more plain Latin letters.
bool FewLatinLetters(const std::array<size_t, 256>& byte_counts, const LetterCounts& counts) {
  size_t latin = 0;
  for (int b = 'A'; b <= 'Z'; ++b) latin += byte_counts[b] + byte_counts[b + 0x20];
  return latin <= 2 * (counts.lower + counts.upper + counts.yo);
}

}  // namespace

bool IsPlainRussian1251(std::string_view text) {
  // How often each byte comes, and the capitals right after a small letter,
  // in one pass without branches.
  std::array<size_t, 256> byte_counts{};
  size_t inner_upper = 0;
  bool after_lower = false;
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    ++byte_counts[b];
    inner_upper += after_lower & (b >= 0xC0 && b < 0xE0);
    after_lower = b >= 0xE0 || b == 0xB8;
  }
  LetterCounts counts;
  for (int b = 0x80; b < 0x100; ++b)
    if (byte_counts[b]) counts.Add(static_cast<unsigned char>(b), byte_counts[b]);
  counts.inner_upper = inner_upper;
  return counts.Plain() && FewLatinLetters(byte_counts, counts);
}

bool MayBePlainRussian1251(const std::array<size_t, 256>& byte_counts) {
  LetterCounts counts;
  for (int b = 0x80; b < 0x100; ++b)
    if (byte_counts[b]) counts.Add(static_cast<unsigned char>(b), byte_counts[b]);
  return counts.Plain();
}

namespace {

// EveryLinePlain1251, counting each byte and the capitals inside words as
// it goes when `kCount`.
template <bool kCount>
bool LinesPlain(std::string_view text, std::array<size_t, 256>& byte_counts, size_t& inner_total) {
  constexpr size_t kInnerCapitals = 2;
  constexpr size_t kCapitals = 4;
  constexpr size_t kHeadingLetters = 40;
  size_t inner_upper = 0, upper = 0, lower = 0;
  bool swapped_word = false;  // a word of a small letter and then capitals
  // A line mostly in capitals: a heading, unless it has a word in the cases
  // of a KOI8-R reading ("пРИВЕТ"), or is long and has hardly a small letter.
  const auto garbled_capitals = [&] {
    return upper >= kCapitals && upper > lower &&
           (swapped_word || (upper + lower > kHeadingLetters && upper > 4 * lower));
  };
  bool after_lower = false, after_letter = false, word_starts_small = false;
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if constexpr (kCount) ++byte_counts[b];
    if (b < 0x80) {
      after_lower = after_letter = false;
      if (b != '\n') continue;
      if (garbled_capitals()) return false;
      inner_upper = upper = lower = 0;
      swapped_word = false;
      continue;
    }
    const bool was_after_lower = after_lower, was_after_letter = after_letter;
    after_lower = b >= 0xE0 || b == 0xB8;
    after_letter = b >= 0xC0 || b == 0xA8 || b == 0xB8;
    if (b >= 0xE0) {
      ++lower;
      word_starts_small = !was_after_letter;
    } else if (b >= 0xC0) {
      ++upper;
      if (was_after_lower) {
        if constexpr (kCount) ++inner_total;
        if (++inner_upper > kInnerCapitals) return false;
        swapped_word = swapped_word || word_starts_small;
      }
      word_starts_small = false;
    } else if (b != 0xA8 && b != 0xB8 && !IsRussianPunctuation(b)) {
      return false;
    }
  }
  return !garbled_capitals();
}

}  // namespace

bool EveryLinePlain1251(std::string_view text) {
  std::array<size_t, 256> unused;
  size_t none = 0;
  return LinesPlain<false>(text, unused, none);
}

bool IsPlainRussian1251ByLine(std::string_view text) {
  std::array<size_t, 256> byte_counts{};
  size_t inner_upper = 0;
  if (!LinesPlain<true>(text, byte_counts, inner_upper)) return false;
  LetterCounts counts;
  for (int b = 0x80; b < 0x100; ++b)
    if (byte_counts[b]) counts.Add(static_cast<unsigned char>(b), byte_counts[b]);
  counts.inner_upper = inner_upper;
  return counts.Plain() && FewLatinLetters(byte_counts, counts);
}

}  // namespace lirvane
