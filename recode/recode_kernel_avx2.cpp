// AVX2 kernel. pshufb looks up only 16 entries, so the 128-entry high half
// is split into eight rows of 16. With i = b - 0x80, the lookup for row k
// uses the index i - 16k: pshufb yields zero for indices with the sign bit
// set (rows above i's own), and for rows below it yields that row's entry at
// i's low nibble. Storing each row XOR-ed with the row before it makes the
// XOR of all eight lookups equal to the entry of i's own row. Bytes below
// 0x80 are then taken from the input by a blend on their sign bit.
#include "recode/recode_kernels.h"

#if defined(LIRVANE_RECODE_X86_KERNELS)

#include <immintrin.h>

#define LIRVANE_TARGET_AVX2 __attribute__((target("avx2")))

namespace lirvane {
namespace {

struct Avx2Rows {
  __m256i row[8];  // row k XOR row k-1, in both 128-bit lanes
};

LIRVANE_TARGET_AVX2 inline Avx2Rows MakeRows(const HighHalfTable& table) {
  Avx2Rows rows;
  __m128i previous = _mm_setzero_si128();
  for (int k = 0; k < 8; ++k) {
    const __m128i row =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.high.data() + 16 * k));
    rows.row[k] = _mm256_broadcastsi128_si256(_mm_xor_si128(row, previous));
    previous = row;
  }
  return rows;
}

LIRVANE_TARGET_AVX2 inline __m256i Map32(const Avx2Rows& rows, __m256i x) {
  const __m256i sixteen = _mm256_set1_epi8(16);
  __m256i index = _mm256_xor_si256(x, _mm256_set1_epi8(-128));  // b - 0x80
  __m256i result = _mm256_shuffle_epi8(rows.row[0], index);
  for (int k = 1; k < 8; ++k) {
    index = _mm256_sub_epi8(index, sixteen);
    result = _mm256_xor_si256(result, _mm256_shuffle_epi8(rows.row[k], index));
  }
  return _mm256_blendv_epi8(x, result, x);
}

}  // namespace

LIRVANE_TARGET_AVX2 void RecodeKernelAvx2(const HighHalfTable& table, const uint8_t* in,
                                          uint8_t* out, size_t size) {
  const Avx2Rows rows = MakeRows(table);
  for (; size >= 64; size -= 64, in += 64, out += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), Map32(rows, a));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), Map32(rows, b));
  }
  if (size >= 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), Map32(rows, a));
    in += 32;
    out += 32;
    size -= 32;
  }
  // The last bytes go through the vector path too, by way of a local buffer:
  // re-mapping an overlapping final vector would be wrong when in == out.
  if (size != 0) {
    alignas(32) uint8_t buffer[32] = {};
    __builtin_memcpy(buffer, in, size);
    const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(buffer));
    _mm256_store_si256(reinterpret_cast<__m256i*>(buffer), Map32(rows, a));
    __builtin_memcpy(out, buffer, size);
  }
}

}  // namespace lirvane

#endif  // LIRVANE_RECODE_X86_KERNELS
