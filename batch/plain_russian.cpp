#include "batch/plain_russian.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "batch/byte_blocks.h"

namespace lirvane {
namespace {

// « » – — " " „ … no-break space №
constexpr unsigned char kRussianPunctuation[] = {0xAB, 0xBB, 0x96, 0x97, 0x93,
                                                 0x94, 0x84, 0x85, 0xA0, 0xB9};
// о е а и н т: nearly half of the letters of any Russian text, far fewer
// of a text whose letters a garbling has swapped for others.
constexpr unsigned char kCommonLetters[] = {0xEE, 0xE5, 0xE0, 0xE8, 0xED, 0xF2};
// ъ э щ ф ц: together under 2 % of the letters of Russian prose, and up to
// 5 % of technical text ("файл", "функция", "информация").
constexpr unsigned char kRareLetters[] = {0xFA, 0xFD, 0xF9, 0xF4, 0xF6};

template <size_t N>
bool IsOneOf(unsigned char b, const unsigned char (&set)[N]) {
  return std::find(std::begin(set), std::end(set), b) != std::end(set);
}

bool IsRussianPunctuation(unsigned char b) { return IsOneOf(b, kRussianPunctuation); }
bool IsCommonLetter(unsigned char b) { return IsOneOf(b, kCommonLetters); }
bool IsRareLetter(unsigned char b) { return IsOneOf(b, kRareLetters); }

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

// Sixty-four bytes of Windows-1251 as masks, a bit a byte.
struct BlockMasks {
  uint64_t lower = 0;        // а..я
  uint64_t upper = 0;        // А..Я
  uint64_t after_lower = 0;  // а..я, ё
  uint64_t foreign = 0;      // 0x80-0xBF but Ё, ё and Russian punctuation
  uint64_t breaks = 0;
  uint64_t yo = 0, common = 0, rare = 0, latin = 0;
};

BlockMasks MasksOf(const unsigned char* bytes) {
  BlockMasks m;
#if defined(__SSE2__)
  const auto bits = [](__m128i flags) {
    return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(flags))};
  };
  const auto is = [](__m128i v, unsigned char b) {
    return _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(b)));
  };
  const auto any_of = [&](__m128i v, const auto& set) {
    __m128i found = _mm_setzero_si128();
    for (const unsigned char b : set) found = _mm_or_si128(found, is(v, b));
    return found;
  };
  for (int k = 0; k < 4; ++k) {
    const int at = 16 * k;
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    const uint64_t high = bits(v);
    m.breaks |= bits(is(v, '\n')) << at;
    // Latin letters: (b | 0x20) in 'a'..'z'.
    const __m128i folded = _mm_sub_epi8(_mm_or_si128(v, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    m.latin |= bits(_mm_cmpeq_epi8(_mm_min_epu8(folded, _mm_set1_epi8(25)), folded)) << at;
    if (high == 0) continue;
    // Signed, 0xE0.. is above -33 and 0xC0.. above -65.
    const uint64_t lower = bits(_mm_cmpgt_epi8(v, _mm_set1_epi8(-33))) & high;
    const uint64_t letters = bits(_mm_cmpgt_epi8(v, _mm_set1_epi8(-65))) & high;
    const uint64_t small_yo = bits(is(v, 0xB8));
    const uint64_t yo = small_yo | bits(is(v, 0xA8));
    m.lower |= lower << at;
    m.upper |= (letters & ~lower) << at;
    m.after_lower |= (lower | small_yo) << at;
    m.yo |= yo << at;
    if (const uint64_t middle = high & ~letters & ~yo; middle != 0)
      m.foreign |= (middle & ~bits(any_of(v, kRussianPunctuation))) << at;
    if (lower != 0) {
      m.common |= bits(any_of(v, kCommonLetters)) << at;
      m.rare |= bits(any_of(v, kRareLetters)) << at;
    }
  }
#else
  for (int k = 0; k < 64; ++k) {
    const unsigned char b = bytes[k];
    const uint64_t bit = uint64_t{1} << k;
    const auto set = [&](uint64_t& mask, bool on) { mask |= on ? bit : 0; };
    set(m.breaks, b == '\n');
    set(m.latin, (b | 0x20) >= 'a' && (b | 0x20) <= 'z');
    set(m.lower, b >= 0xE0);
    set(m.upper, b >= 0xC0 && b < 0xE0);
    set(m.after_lower, b >= 0xE0 || b == 0xB8);
    set(m.yo, b == 0xA8 || b == 0xB8);
    set(m.foreign, b >= 0x80 && b < 0xC0 && b != 0xA8 && b != 0xB8 && !IsRussianPunctuation(b));
    set(m.common, IsCommonLetter(b));
    set(m.rare, IsRareLetter(b));
  }
#endif
  return m;
}

// Set bits, inline: std::popcount is a library call on the x86-64 baseline.
int Bits(uint64_t x) {
#if defined(__POPCNT__)
  return std::popcount(x);
#else
  x -= (x >> 1) & 0x5555555555555555;
  x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0F;
  return static_cast<int>((x * 0x0101010101010101) >> 56);
#endif
}

// Whether the word the line's capitals follow a small letter in began with
// a small letter ("пРИВЕТ", "вОт"): the line's bytes one by one, from the
// state the text before it left.
bool HasSwappedWord(std::string_view text, size_t line_start, size_t line_end) {
  const auto letter = [](unsigned char b) { return b >= 0xC0 || b == 0xA8 || b == 0xB8; };
  // The last small letter before the line set the state; a capital cleared it.
  bool word_starts_small = false;
  for (size_t i = line_start; i-- > 0;) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0xC0) continue;
    word_starts_small = b >= 0xE0 && (i == 0 || !letter(static_cast<unsigned char>(text[i - 1])));
    break;
  }
  bool after_lower = false, after_letter = false;
  for (size_t i = line_start; i < line_end; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0xE0) {
      word_starts_small = !after_letter;
    } else if (b >= 0xC0) {
      if (after_lower && word_starts_small) return true;
      word_starts_small = false;
    }
    after_lower = b >= 0xE0 || b == 0xB8;
    after_letter = letter(b);
  }
  return false;
}

// Every line of the text plain (EveryLinePlain1251), and the counts of the
// whole for IsPlainRussian1251: sixty-four bytes at a time.
bool LinesPlain(std::string_view text, LetterCounts& counts, size_t& latin) {
  constexpr size_t kInnerCapitals = 2;
  constexpr size_t kCapitals = 4;
  constexpr size_t kHeadingLetters = 40;
  // The current line's counts.
  size_t line_start = 0, upper = 0, lower = 0, inner_upper = 0;
  bool foreign = false;
  // A line mostly in capitals: a heading, unless it has a word in the cases
  // of a KOI8-R reading ("пРИВЕТ"), or is long and has hardly a small letter.
  const auto line_plain = [&](size_t line_end) {
    if (foreign || inner_upper > kInnerCapitals) return false;
    if (upper < kCapitals || upper <= lower) return true;
    if (upper + lower > kHeadingLetters && upper > 4 * lower) return false;
    return inner_upper == 0 || !HasSwappedWord(text, line_start, line_end);
  };
  uint64_t after_lower_before = 0;  // the last byte of the block before
  const bool every_line_plain =
      ForEachByteBlock(text, MasksOf, [&](size_t base, const BlockMasks& m) {
        const uint64_t inner = m.upper & ((m.after_lower << 1) | after_lower_before);
        after_lower_before = m.after_lower >> 63;
        counts.lower += Bits(m.lower);
        counts.upper += Bits(m.upper);
        counts.yo += Bits(m.yo);
        counts.common += Bits(m.common);
        counts.rare += Bits(m.rare);
        counts.inner_upper += Bits(inner);
        latin += Bits(m.latin);
        uint64_t from = ~uint64_t{0};  // the current line's bits in this block
        for (uint64_t breaks = m.breaks; breaks != 0; breaks &= breaks - 1) {
          const int end = std::countr_zero(breaks);
          const uint64_t line = from & BitsThrough(end);
          upper += Bits(m.upper & line);
          lower += Bits(m.lower & line);
          inner_upper += Bits(inner & line);
          foreign = foreign || (m.foreign & line) != 0;
          const size_t line_end = base + static_cast<size_t>(end) + 1;
          if (!line_plain(line_end)) return false;
          line_start = line_end;
          upper = lower = inner_upper = 0;
          foreign = false;
          from &= ~line;
        }
        upper += Bits(m.upper & from);
        lower += Bits(m.lower & from);
        inner_upper += Bits(inner & from);
        foreign = foreign || (m.foreign & from) != 0;
        return true;
      });
  if (!every_line_plain) return false;
  return line_plain(text.size());
}

}  // namespace

bool EveryLinePlain1251(std::string_view text) {
  LetterCounts unused;
  size_t latin = 0;
  return LinesPlain(text, unused, latin);
}

bool IsPlainRussian1251ByLine(std::string_view text) {
  LetterCounts counts;
  size_t latin = 0;
  if (!LinesPlain(text, counts, latin)) return false;
  // Every line plain: no byte of 0x80-0xBF but Ё, ё and the punctuation.
  counts.other = 0;
  return counts.Plain() && latin <= 2 * (counts.lower + counts.upper + counts.yo);
}

}  // namespace lirvane
