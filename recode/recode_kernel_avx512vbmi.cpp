// AVX-512 VBMI kernel: vpermt2b looks a byte up in 128 table entries held in
// two registers, using the low seven bits of each input byte; its masked form
// keeps the input byte wherever the sign bit is clear (bytes below 0x80).
#include "recode/recode_kernels.h"

#if defined(LIRVANE_RECODE_X86_KERNELS)

#include <immintrin.h>

#define LIRVANE_TARGET_AVX512VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

namespace lirvane {
namespace {

LIRVANE_TARGET_AVX512VBMI inline __m512i Map64(__m512i low_table, __m512i high_table, __m512i x) {
  return _mm512_mask2_permutex2var_epi8(low_table, x, _mm512_movepi8_mask(x), high_table);
}

// Fewer than 64 bytes through a mask: masked loads do not touch memory outside
// the mask, so this is safe at the very edges of a buffer.
LIRVANE_TARGET_AVX512VBMI inline void MapPartial(__m512i low_table, __m512i high_table,
                                                 const uint8_t* in, uint8_t* out, size_t count) {
  const __mmask64 mask = (uint64_t{1} << count) - 1;
  const __m512i x = _mm512_maskz_loadu_epi8(mask, in);
  _mm512_mask_storeu_epi8(out, mask, Map64(low_table, high_table, x));
}

}  // namespace

LIRVANE_TARGET_AVX512VBMI void RecodeKernelAvx512Vbmi(const HighHalfTable& table, const uint8_t* in,
                                                      uint8_t* out, size_t size) {
  const __m512i low_table = _mm512_loadu_si512(table.high.data());
  const __m512i high_table = _mm512_loadu_si512(table.high.data() + 64);

  // Bring the output to a 64-byte boundary so that no store splits a cache
  // line; the input stays unaligned, which costs little on loads.
  size_t head = (64 - (reinterpret_cast<uintptr_t>(out) & 63)) & 63;
  if (head > size) head = size;
  if (head != 0) {
    MapPartial(low_table, high_table, in, out, head);
    in += head;
    out += head;
    size -= head;
  }

  for (; size >= 256; size -= 256, in += 256, out += 256) {
    const __m512i a = _mm512_loadu_si512(in);
    const __m512i b = _mm512_loadu_si512(in + 64);
    const __m512i c = _mm512_loadu_si512(in + 128);
    const __m512i d = _mm512_loadu_si512(in + 192);
    _mm512_store_si512(out, Map64(low_table, high_table, a));
    _mm512_store_si512(out + 64, Map64(low_table, high_table, b));
    _mm512_store_si512(out + 128, Map64(low_table, high_table, c));
    _mm512_store_si512(out + 192, Map64(low_table, high_table, d));
  }
  for (; size >= 64; size -= 64, in += 64, out += 64)
    _mm512_store_si512(out, Map64(low_table, high_table, _mm512_loadu_si512(in)));
  if (size != 0) MapPartial(low_table, high_table, in, out, size);
}

}  // namespace lirvane

#endif  // LIRVANE_RECODE_X86_KERNELS
