// SSSE3 check that bytes are well-formed UTF-8, sixteen at a time, by the
// lookup method of Keiser and Lemire ("Validating UTF-8 in less than one
// instruction per byte", 2021): three 16-entry tables, indexed by the high
// and low half of each byte's predecessor and the high half of the byte,
// flag the faults a pair of bytes can show (too short, too long, overlong,
// surrogate, too large, a continuation too many); the third and fourth
// bytes of longer sequences are checked by their lead two and three bytes
// back. ASCII blocks cost one test.
#include "recode/utf8_kernels.h"

#if defined(LIRVANE_RECODE_X86_KERNELS)

#include <immintrin.h>

#include <cstring>

#define LIRVANE_TARGET_SSSE3 __attribute__((target("ssse3")))

namespace lirvane {
namespace {

// Faults, one bit each; two share bit 6, told apart by the other tables.
constexpr uint8_t kTooShort = 1 << 0;   // a lead followed by no continuation
constexpr uint8_t kTooLong = 1 << 1;    // ASCII followed by a continuation
constexpr uint8_t kOverlong3 = 1 << 2;  // E0 80..9F
constexpr uint8_t kTooLarge = 1 << 3;   // F4 90..BF, F5.. any
constexpr uint8_t kSurrogate = 1 << 4;  // ED A0..BF
constexpr uint8_t kOverlong2 = 1 << 5;  // C0, C1
constexpr uint8_t kTooLarge1000 = 1 << 6;
constexpr uint8_t kOverlong4 = 1 << 6;  // F0 80..8F
constexpr uint8_t kTwoConts = 1 << 7;   // a continuation after a continuation
constexpr uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

template <int N>
LIRVANE_TARGET_SSSE3 __m128i Previous(__m128i input, __m128i prev_input) {
  return _mm_alignr_epi8(input, prev_input, 16 - N);
}

LIRVANE_TARGET_SSSE3 __m128i Lookup(__m128i table, __m128i nibbles) {
  return _mm_shuffle_epi8(table, nibbles);
}

LIRVANE_TARGET_SSSE3 __m128i HighNibbles(__m128i v) {
  return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
}

constexpr uint8_t kLarge = kCarry | kTooLarge | kTooLarge1000;
constexpr uint8_t kCont = kTooLong | kOverlong2 | kTwoConts;

// By the high half of a byte's predecessor.
alignas(16) constexpr uint8_t kByte1High[16] = {kTooLong,
                                                kTooLong,
                                                kTooLong,
                                                kTooLong,
                                                kTooLong,
                                                kTooLong,
                                                kTooLong,
                                                kTooLong,
                                                kTwoConts,
                                                kTwoConts,
                                                kTwoConts,
                                                kTwoConts,
                                                kTooShort | kOverlong2,
                                                kTooShort,
                                                kTooShort | kOverlong3 | kSurrogate,
                                                kTooShort | kTooLarge | kTooLarge1000 | kOverlong4};
// By the low half of a byte's predecessor.
alignas(16) constexpr uint8_t kByte1Low[16] = {kCarry | kOverlong3 | kOverlong2 | kOverlong4,
                                               kCarry | kOverlong2,
                                               kCarry,
                                               kCarry,
                                               kCarry | kTooLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge,
                                               kLarge | kSurrogate,
                                               kLarge,
                                               kLarge};
// By the high half of the byte.
alignas(16) constexpr uint8_t kByte2High[16] = {kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kCont | kOverlong3 | kTooLarge1000 | kOverlong4,
                                                kCont | kOverlong3 | kTooLarge,
                                                kCont | kSurrogate | kTooLarge,
                                                kCont | kSurrogate | kTooLarge,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort,
                                                kTooShort};

LIRVANE_TARGET_SSSE3 __m128i Table(const uint8_t (&t)[16]) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(t));
}

// The faults of a block, nonzero where there is one.
LIRVANE_TARGET_SSSE3 __m128i BlockFaults(__m128i input, __m128i prev_input) {
  const __m128i prev1 = Previous<1>(input, prev_input);
  const __m128i byte_1_high = Lookup(Table(kByte1High), HighNibbles(prev1));
  const __m128i byte_1_low = Lookup(Table(kByte1Low), _mm_and_si128(prev1, _mm_set1_epi8(0x0F)));
  const __m128i byte_2_high = Lookup(Table(kByte2High), HighNibbles(input));
  const __m128i special = _mm_and_si128(_mm_and_si128(byte_1_high, byte_1_low), byte_2_high);
  // Where the byte two or three back leads a three- or four-byte sequence,
  // a continuation must follow a continuation: bit 7 there, as kTwoConts.
  const __m128i third = _mm_subs_epu8(Previous<2>(input, prev_input), _mm_set1_epi8(0xE0 - 0x80));
  const __m128i fourth = _mm_subs_epu8(Previous<3>(input, prev_input), _mm_set1_epi8(0xF0 - 0x80));
  const __m128i must_continue =
      _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(static_cast<char>(0x80)));
  return _mm_xor_si128(must_continue, special);
}

// Nonzero when the block ends inside a sequence.
LIRVANE_TARGET_SSSE3 __m128i EndsInside(__m128i input) {
  const __m128i max = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                    char(0xF0 - 1), char(0xE0 - 1), char(0xC0 - 1));
  return _mm_subs_epu8(input, max);
}

}  // namespace

LIRVANE_TARGET_SSSE3 bool IsWellFormedUtf8Ssse3(const uint8_t* in, size_t size) {
  __m128i faults = _mm_setzero_si128();
  __m128i prev_input = _mm_setzero_si128();
  __m128i prev_inside = _mm_setzero_si128();
  const auto take = [&](__m128i input) {
    if (_mm_movemask_epi8(input) == 0) {
      faults = _mm_or_si128(faults, prev_inside);
      prev_inside = _mm_setzero_si128();
    } else {
      faults = _mm_or_si128(faults, BlockFaults(input, prev_input));
      prev_inside = EndsInside(input);
    }
    prev_input = input;
  };
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    take(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)));
    // Stop early on a fault, now and then.
    if ((i & 1023) == 0 && _mm_movemask_epi8(_mm_cmpeq_epi8(faults, _mm_setzero_si128())) != 0xFFFF)
      return false;
  }
  // The tail, padded with NULs: ASCII, so a sequence cut by the end shows.
  alignas(16) uint8_t tail[16] = {};
  if (size > i) std::memcpy(tail, in + i, size - i);  // in may be null when size is 0
  take(_mm_load_si128(reinterpret_cast<const __m128i*>(tail)));
  faults = _mm_or_si128(faults, prev_inside);
  return _mm_movemask_epi8(_mm_cmpeq_epi8(faults, _mm_setzero_si128())) == 0xFFFF;
}

}  // namespace lirvane

#endif  // LIRVANE_RECODE_X86_KERNELS
