// SSSE3 kernels for UTF-8 and the Russian letters.
//
// Encoding, sixteen or eight bytes at a time (up to the first byte
// 0x80-0xBF): each byte becomes a pair (its first
// UTF-8 byte, its second), then pshufb drops the second byte of every ASCII
// pair. For А-я (b = 0xC0 + k, U+0410 + k) with t = k + 0x10 the pair is
// (0xD0 + (t >> 6), 0x80 | (t & 0x3F)).
//
// Decoding, sixteen bytes at a time: a block is taken up to the first byte
// that is neither ASCII nor part of a pair D0/D1 + second byte (all of
// U+0400-U+047F). Each second byte turns into its Windows-1251 byte (А-я:
// +0x30 after D0, +0x70 after D1; the rest by a 16-entry table), the lead
// bytes are dropped by pshufb, each half of the block with its own table. A
// lead in the last position is left for the next block.
//
// Both kernels return after a block they could not take whole, so that the
// scalar code takes the next character.
#include "recode/utf8_kernels.h"

#if defined(LIRVANE_RECODE_X86_KERNELS)

#include <immintrin.h>

#include <array>

#include "recode/cp1251_unicode.h"

#define LIRVANE_TARGET_SSSE3 __attribute__((target("ssse3,popcnt")))

namespace lirvane {
namespace {

// For each 8-bit mask of ASCII bytes: the shuffle that keeps both bytes of
// every pair but the second byte of an ASCII one.
struct PairCompress {
  alignas(16) std::array<std::array<uint8_t, 16>, 256> shuffle{};
  constexpr PairCompress() {
    for (int mask = 0; mask < 256; ++mask) {
      int n = 0;
      for (int i = 0; i < 8; ++i) {
        shuffle[mask][n++] = static_cast<uint8_t>(2 * i);
        if (!(mask >> i & 1)) shuffle[mask][n++] = static_cast<uint8_t>(2 * i + 1);
      }
      for (; n < 16; ++n) shuffle[mask][n] = 0x80;
    }
  }
};

// For each 8-bit mask of bytes to keep: the shuffle that packs them, for
// the low half (indices 0-7) and the high half (8-15) of a register.
struct HalfCompress {
  alignas(16) std::array<std::array<uint8_t, 16>, 256> low{}, high{};
  constexpr HalfCompress() {
    for (int mask = 0; mask < 256; ++mask) {
      int n = 0;
      for (int i = 0; i < 8; ++i)
        if (mask >> i & 1) {
          low[mask][n] = static_cast<uint8_t>(i);
          high[mask][n] = static_cast<uint8_t>(8 + i);
          ++n;
        }
      for (; n < 16; ++n) low[mask][n] = high[mask][n] = 0x80;
    }
  }
};

constexpr PairCompress kPairCompress;

// The Windows-1251 bytes of U+0400-U+040F (D0 80-8F) and U+0450-U+045F
// (D1 90-9F): Ё, ё and the other Cyrillic letters of the code page, '?'
// where it has none.
struct Cyrillic2Tables {
  alignas(16) std::array<uint8_t, 16> d0_80{}, d1_90{};
  Cyrillic2Tables() {
    for (int k = 0; k < 16; ++k) {
      const int a = UnicodeToCp1251(0x400 + k), b = UnicodeToCp1251(0x450 + k);
      d0_80[k] = a < 0 ? '?' : static_cast<uint8_t>(a);
      d1_90[k] = b < 0 ? '?' : static_cast<uint8_t>(b);
    }
  }
};

const Cyrillic2Tables& Cyrillic2() {
  static const Cyrillic2Tables tables;
  return tables;
}
constexpr HalfCompress kHalfCompress;

}  // namespace

LIRVANE_TARGET_SSSE3
void WinToUtf8Ssse3(const uint8_t* in, size_t size, size_t& i_ref, uint8_t* out, size_t& o_ref) {
  // Local copies: stores to `out` could otherwise alias them.
  size_t i = i_ref, o = o_ref;
  const __m128i minus64 = _mm_set1_epi8(-64);
  const __m128i low6 = _mm_set1_epi8(0x3F);
  const __m128i top = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i one = _mm_set1_epi8(1);
  const __m128i d0 = _mm_set1_epi8(static_cast<char>(0xD0));
  const __m128i offset = _mm_set1_epi8(0x50);
  const auto pairs_of = [&](__m128i x, __m128i& low, __m128i& high) LIRVANE_TARGET_SSSE3 {
    const __m128i t = _mm_add_epi8(x, offset);
    const __m128i second = _mm_or_si128(_mm_and_si128(t, low6), top);
    const __m128i lead = _mm_add_epi8(_mm_and_si128(_mm_srli_epi16(t, 6), one), d0);
    const __m128i is_ascii = _mm_cmpgt_epi8(x, _mm_set1_epi8(-1));
    const __m128i first =
        _mm_or_si128(_mm_and_si128(is_ascii, x), _mm_andnot_si128(is_ascii, lead));
    low = _mm_unpacklo_epi8(first, second);
    high = _mm_unpackhi_epi8(first, second);
  };
  const auto shuffle_for = [](unsigned ascii) LIRVANE_TARGET_SSSE3 {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kPairCompress.shuffle[ascii].data()));
  };
  while (i + 16 <= size) {
    // Sixteen bytes at a time while there is nothing but ASCII and А-я.
    const __m128i x16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const unsigned high_bits = static_cast<unsigned>(_mm_movemask_epi8(x16));
    if (high_bits == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), x16);
      i += 16;
      o += 16;
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmplt_epi8(x16, minus64)) == 0) {
      __m128i low, high;
      pairs_of(x16, low, high);
      const unsigned ascii = ~high_bits & 0xFFFF;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o),
                       _mm_shuffle_epi8(low, shuffle_for(ascii & 0xFF)));
      o += 16 - static_cast<size_t>(__builtin_popcount(ascii & 0xFF));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o),
                       _mm_shuffle_epi8(high, shuffle_for(ascii >> 8)));
      o += 16 - static_cast<size_t>(__builtin_popcount(ascii >> 8));
      i += 16;
      continue;
    }
    const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + i));
    // 0x80-0xBF (signed -128..-65) are not for this kernel: the block is
    // taken up to the first of them.
    const unsigned other =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(x, minus64))) & 0xFF;
    const unsigned n = other ? static_cast<unsigned>(__builtin_ctz(other)) : 8;
    if (n == 0) break;
    const unsigned ascii = ~static_cast<unsigned>(_mm_movemask_epi8(x)) & 0xFF;
    __m128i pairs, unused;
    pairs_of(x, pairs, unused);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o),
                     _mm_shuffle_epi8(pairs, shuffle_for(ascii)));
    if (n == 8) {  // the common case advances by a constant
      o += 16 - static_cast<size_t>(__builtin_popcount(ascii));
      i += 8;
      continue;
    }
    o += n + static_cast<size_t>(__builtin_popcount(~ascii & ((1u << n) - 1)));
    i += n;
    break;
  }
  i_ref = i;
  o_ref = o;
}

LIRVANE_TARGET_SSSE3
void Utf8ToWinSsse3(const uint8_t* in, size_t size, size_t& i_ref, uint8_t* out, size_t& o_ref) {
  size_t i = i_ref, o = o_ref;
  const Cyrillic2Tables& tables = Cyrillic2();
  const __m128i other_d0 = _mm_load_si128(reinterpret_cast<const __m128i*>(tables.d0_80.data()));
  const __m128i other_d1 = _mm_load_si128(reinterpret_cast<const __m128i*>(tables.d1_90.data()));
  const __m128i minus64 = _mm_set1_epi8(-64);
  const __m128i at90 = _mm_set1_epi8(static_cast<char>(0x90));
  const __m128i above8f = _mm_set1_epi8(static_cast<char>(0x8F));
  const __m128i above9f = _mm_set1_epi8(static_cast<char>(0x9F));
  const __m128i lead_d0 = _mm_set1_epi8(static_cast<char>(0xD0));
  const __m128i lead_d1 = _mm_set1_epi8(static_cast<char>(0xD1));
  const __m128i add_d0 = _mm_set1_epi8(0x30);
  const __m128i add_d1 = _mm_set1_epi8(0x70);
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i question = _mm_set1_epi8('?');
  // The block before, for the lead of a pair cut by the block boundary;
  // the kernel starts on a character's first byte.
  __m128i previous = _mm_setzero_si128();
  unsigned pending_lead = 0;
  while (i + 17 <= size) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(x) == 0) {  // ASCII: a plain copy (never after a lead)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), x);
      i += 16;
      o += 16;
      previous = x;
      continue;
    }
    const __m128i before = _mm_alignr_epi8(x, previous, 15);  // in[i - 1 + k]
    const __m128i is_lead = _mm_or_si128(_mm_cmpeq_epi8(x, lead_d0), _mm_cmpeq_epi8(x, lead_d1));
    const __m128i after_d0 = _mm_cmpeq_epi8(before, lead_d0);
    const __m128i after_d1 = _mm_cmpeq_epi8(before, lead_d1);
    const unsigned lead = static_cast<unsigned>(_mm_movemask_epi8(is_lead));
    const unsigned after_lead =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(after_d0, after_d1)));
    // The byte after the block, to see that a lead in the last position
    // has its second byte.
    const unsigned next_second = (in[i + 16] & 0xC0) == 0x80 ? 0x10000u : 0u;
    const unsigned second =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(x, minus64))) | next_second;
    const unsigned ascii = ~static_cast<unsigned>(_mm_movemask_epi8(x)) & 0xFFFF;
    // What this kernel does not take: any other byte, a lead not followed
    // by a second byte, a second byte with no lead before it.
    const unsigned refused = (~(ascii | lead | second) & 0xFFFF) | (lead & ~(second >> 1)) |
                             (second & 0xFFFF & ~after_lead);
    // А-я by addition; the other letters of D0 80-8F and D1 90-9F by
    // table; D1 A0-BF has no Windows-1251 byte. Signed compares: 0x8F is
    // -113, 0x90 -112, 0x9F -97.
    __m128i value = _mm_add_epi8(
        x, _mm_or_si128(_mm_and_si128(after_d0, add_d0), _mm_and_si128(after_d1, add_d1)));
    const __m128i low_d0 = _mm_and_si128(after_d0, _mm_cmplt_epi8(x, at90));
    const __m128i high_d1 = _mm_and_si128(after_d1, _mm_cmpgt_epi8(x, above8f));
    if (_mm_movemask_epi8(_mm_or_si128(low_d0, high_d1)) != 0) {  // Ё, ё and the like
      const __m128i none_d1 = _mm_and_si128(after_d1, _mm_cmpgt_epi8(x, above9f));
      const __m128i index = _mm_and_si128(x, nibble);
      value = _mm_or_si128(_mm_andnot_si128(low_d0, value),
                           _mm_and_si128(low_d0, _mm_shuffle_epi8(other_d0, index)));
      value = _mm_or_si128(_mm_andnot_si128(high_d1, value),
                           _mm_and_si128(high_d1, _mm_shuffle_epi8(other_d1, index)));
      value = _mm_or_si128(_mm_andnot_si128(none_d1, value), _mm_and_si128(none_d1, question));
    }
    // Up to the first refused byte. The byte before it is never a lead: a
    // lead whose next byte is a second byte is followed by a byte that is
    // taken.
    const unsigned n = refused ? static_cast<unsigned>(__builtin_ctz(refused)) : 16;
    const unsigned taken = n == 16 ? 0xFFFF : (1u << n) - 1;
    const unsigned keep = ~lead & taken;
    const __m128i low = _mm_shuffle_epi8(
        value,
        _mm_load_si128(reinterpret_cast<const __m128i*>(kHalfCompress.low[keep & 0xFF].data())));
    const __m128i high = _mm_shuffle_epi8(
        value,
        _mm_load_si128(reinterpret_cast<const __m128i*>(kHalfCompress.high[keep >> 8].data())));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o), low);
    const size_t low_count = static_cast<size_t>(__builtin_popcount(keep & 0xFF));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o + low_count), high);
    o += low_count + static_cast<size_t>(__builtin_popcount(keep >> 8));
    if (refused == 0) {  // the common case advances by a constant
      i += 16;
      previous = x;
      pending_lead = lead >> 15;
      continue;
    }
    i += n;
    pending_lead = 0;
    break;
  }
  // A lead at the end of the last block taken has its pair's second byte
  // still ahead: give it back, so that the pair is read as a whole.
  i -= pending_lead;
  i_ref = i;
  o_ref = o;
}

}  // namespace lirvane

#endif  // LIRVANE_RECODE_X86_KERNELS

namespace lirvane {

namespace {
bool CpuHasSsse3() {
#if defined(LIRVANE_RECODE_X86_KERNELS)
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
#else
  return false;
#endif
}
}  // namespace

std::vector<Utf8KernelPair> AvailableUtf8Kernels() {
  std::vector<Utf8KernelPair> kernels = {{"scalar", nullptr, nullptr, nullptr}};
#if defined(LIRVANE_RECODE_X86_KERNELS)
  if (CpuHasSsse3())
    kernels.push_back({"ssse3", WinToUtf8Ssse3, Utf8ToWinSsse3, IsWellFormedUtf8Ssse3});
#endif
  return kernels;
}

namespace {
const Utf8KernelPair& ChosenUtf8Kernels() {
  static const Utf8KernelPair chosen = [] {
    const std::vector<Utf8KernelPair> kernels = AvailableUtf8Kernels();
    for (const Utf8KernelPair& pair : kernels)
      if (IsForcedKernel(pair.name)) return pair;
    return kernels.back();
  }();
  return chosen;
}
}  // namespace

Utf8Kernel BestWinToUtf8Kernel() { return ChosenUtf8Kernels().win_to_utf8; }
Utf8Kernel BestUtf8ToWinKernel() { return ChosenUtf8Kernels().utf8_to_win; }
Utf8Validator BestUtf8Validator() { return ChosenUtf8Kernels().validate; }

}  // namespace lirvane
