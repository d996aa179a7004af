// SSSE3 kernels for UTF-8 and the Russian letters.
//
// Encoding, eight bytes at a time (up to the first byte 0x80-0xBF): each
// byte becomes a pair (its first
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
void WinToUtf8Ssse3(const uint8_t* in, size_t size, size_t& i_ref, uint8_t* out,
                    size_t& o_ref) {
  // Local copies: stores to `out` could otherwise alias them.
  size_t i = i_ref, o = o_ref;
  const auto done = [&] {
    i_ref = i;
    o_ref = o;
  };
  const __m128i minus64 = _mm_set1_epi8(-64);
  const __m128i low6 = _mm_set1_epi8(0x3F);
  const __m128i top = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i one = _mm_set1_epi8(1);
  const __m128i d0 = _mm_set1_epi8(static_cast<char>(0xD0));
  const __m128i offset = _mm_set1_epi8(0x50);
  while (i + 16 <= size) {
    const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + i));
    // 0x80-0xBF (signed -128..-65) are not for this kernel: the block is
    // taken up to the first of them.
    const unsigned other =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(x, minus64))) & 0xFF;
    const unsigned n = other ? static_cast<unsigned>(__builtin_ctz(other)) : 8;
    if (n == 0) return done();
    const unsigned taken = (1u << n) - 1;
    const unsigned ascii = ~static_cast<unsigned>(_mm_movemask_epi8(x)) & 0xFF;
    const __m128i t = _mm_add_epi8(x, offset);
    const __m128i second = _mm_or_si128(_mm_and_si128(t, low6), top);
    const __m128i lead = _mm_add_epi8(_mm_and_si128(_mm_srli_epi16(t, 6), one), d0);
    const __m128i is_ascii = _mm_cmpgt_epi8(x, _mm_set1_epi8(-1));
    const __m128i first =
        _mm_or_si128(_mm_and_si128(is_ascii, x), _mm_andnot_si128(is_ascii, lead));
    const __m128i pairs = _mm_unpacklo_epi8(first, second);
    const __m128i shuffle =
        _mm_load_si128(reinterpret_cast<const __m128i*>(kPairCompress.shuffle[ascii].data()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), _mm_shuffle_epi8(pairs, shuffle));
    o += n + static_cast<size_t>(__builtin_popcount(~ascii & taken));
    i += n;
    if (n < 8) return done();
  }
  done();
}

LIRVANE_TARGET_SSSE3
void Utf8ToWinSsse3(const uint8_t* in, size_t size, size_t& i_ref, uint8_t* out,
                    size_t& o_ref) {
  // Local copies: stores to `out` could otherwise alias them.
  size_t i = i_ref, o = o_ref;
  const auto done = [&] {
    i_ref = i;
    o_ref = o;
  };
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
  while (i + 16 <= size) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i is_d0 = _mm_cmpeq_epi8(x, lead_d0);
    const __m128i is_d1 = _mm_cmpeq_epi8(x, lead_d1);
    const unsigned lead = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(is_d0, is_d1)));
    const unsigned second = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(x, minus64)));
    const unsigned ascii = ~static_cast<unsigned>(_mm_movemask_epi8(x)) & 0xFFFF;
    const unsigned after_lead = (lead << 1) & 0xFFFF;
    // What this kernel does not take: any other byte, a lead not followed
    // by a second byte (or whose second byte is in the next block), a
    // second byte with no lead before it.
    const unsigned refused = (~(ascii | lead | second) & 0xFFFF) | (lead & ~(second >> 1)) |
                             (second & ~after_lead);
    unsigned n = refused ? static_cast<unsigned>(__builtin_ctz(refused)) : 16;
    if (n != 0 && (lead >> (n - 1) & 1)) --n;  // never part of a character
    if (n == 0) return done();
    const unsigned taken = n == 16 ? 0xFFFF : (1u << n) - 1;
    const __m128i after_d0 = _mm_slli_si128(is_d0, 1);
    const __m128i after_d1 = _mm_slli_si128(is_d1, 1);
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
    const unsigned keep = ~lead & taken;
    const __m128i low = _mm_shuffle_epi8(
        value, _mm_load_si128(reinterpret_cast<const __m128i*>(kHalfCompress.low[keep & 0xFF].data())));
    const __m128i high = _mm_shuffle_epi8(
        value, _mm_load_si128(reinterpret_cast<const __m128i*>(kHalfCompress.high[keep >> 8].data())));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o), low);
    const size_t low_count = static_cast<size_t>(__builtin_popcount(keep & 0xFF));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o + low_count), high);
    o += low_count + static_cast<size_t>(__builtin_popcount(keep >> 8));
    i += n;
    if (n < 16) return done();
  }
  done();
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

Utf8Kernel BestWinToUtf8Kernel() {
#if defined(LIRVANE_RECODE_X86_KERNELS)
  static const Utf8Kernel kernel = CpuHasSsse3() ? WinToUtf8Ssse3 : nullptr;
  return kernel;
#else
  return nullptr;
#endif
}

Utf8Kernel BestUtf8ToWinKernel() {
#if defined(LIRVANE_RECODE_X86_KERNELS)
  static const Utf8Kernel kernel = CpuHasSsse3() ? Utf8ToWinSsse3 : nullptr;
  return kernel;
#else
  return nullptr;
#endif
}

}  // namespace lirvane
