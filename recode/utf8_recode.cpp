#include "recode/utf8_recode.h"

#include <array>
#include <cstring>

#include "recode/cp1251_unicode.h"
#include "recode/recode_kernels.h"
#include "recode/utf8.h"
#include "recode/utf8_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lirvane {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// True when none of the eight bytes at `p` has its high bit set.
inline bool AllAscii8(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  return (word & 0x8080808080808080ull) == 0;
}

// Windows-1251 bytes of the two-byte UTF-8 characters U+0080-U+07FF, '?'
// where there is none. Covers the Cyrillic letters, so the common case of a
// Russian text needs no look-up in the full reverse table.
struct TwoByteTable {
  std::array<uint8_t, 0x800 - 0x80> byte_of{};
  TwoByteTable() {
    for (char32_t c = 0x80; c < 0x800; ++c) {
      const int b = UnicodeToCp1251(c);
      byte_of[c - 0x80] = b < 0 ? '?' : static_cast<uint8_t>(b);
    }
  }
};

const TwoByteTable& TwoBytes() {
  static const TwoByteTable table;
  return table;
}

// UTF-8 of every Windows-1251 byte: up to three bytes, the length in the
// fourth, so that one unaligned 4-byte store writes any of them.
struct Utf8OfByte {
  std::array<uint32_t, 256> packed{};
  std::array<uint8_t, 256> length{};
  Utf8OfByte() {
    for (int b = 0; b < 256; ++b) {
      std::string utf8;
      AppendUtf8(utf8, Cp1251ToUnicode(static_cast<uint8_t>(b)));
      uint8_t bytes[4] = {0, 0, 0, 0};
      std::memcpy(bytes, utf8.data(), utf8.size());
      std::memcpy(&packed[b], bytes, 4);
      length[b] = static_cast<uint8_t>(utf8.size());
    }
  }
};

const Utf8OfByte& Utf8Of() {
  static const Utf8OfByte table;
  return table;
}

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// Set bits of a 16-bit mask, without asking the processor for popcnt.
inline size_t BitCount16(unsigned m) {
  m = m - ((m >> 1) & 0x5555);
  m = (m & 0x3333) + ((m >> 2) & 0x3333);
  m = (m + (m >> 4)) & 0x0F0F;
  return (m + (m >> 8)) & 0x1F;
}

// True when in[0..size) is a proper beginning of a well-formed sequence
// that more bytes could complete.
bool IsCutSequence(const uint8_t* in, size_t size) {
  if (size == 0 || size > 3) return false;
  const uint8_t lead = in[0];
  size_t need;
  if (lead >= 0xC2 && lead <= 0xDF)
    need = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    need = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    need = 4;
  else
    return false;
  if (size >= need) return false;
  for (size_t k = 1; k < size; ++k)
    if (!IsContinuation(in[k])) return false;
  if (size >= 2) {
    const uint8_t second = in[1];
    if (lead == 0xE0 && second < 0xA0) return false;  // overlong
    if (lead == 0xED && second > 0x9F) return false;  // surrogate
    if (lead == 0xF0 && second < 0x90) return false;  // overlong
    if (lead == 0xF4 && second > 0x8F) return false;  // beyond U+10FFFF
  }
  return true;
}

}  // namespace

bool StartsWithUtf8Bom(std::string_view text, bool complete) {
  if (text.size() >= kBom.size()) return text.substr(0, kBom.size()) == kBom;
  return !complete && kBom.substr(0, text.size()) == text;
}

size_t Utf8ToWinPiece(const uint8_t* in, size_t size, uint8_t* out, bool at_end, size_t& consumed) {
  return Utf8ToWinPiece(in, size, out, at_end, consumed, BestUtf8ToWinKernel());
}

size_t Utf8ToWinPiece(const uint8_t* in, size_t size, uint8_t* out, bool at_end, size_t& consumed,
                      Utf8Kernel kernel) {
  const auto& two = TwoBytes().byte_of;
  const std::string_view view(reinterpret_cast<const char*>(in), size);
  size_t i = 0, o = 0;
  // The vector kernel stops before a character it does not take; this
  // loop takes that one and hands back, or, when the kernel took nothing,
  // a block's worth, so that text it cannot help with is not retried.
  size_t scalar_until = 0;
  while (i < size) {
    if (kernel && i >= scalar_until) {
      const size_t before = i;
      kernel(in, size, i, out, o);
      scalar_until = i + (i == before ? 16 : 1);
    }
    // Runs of ASCII go sixteen bytes at a time.
    while (i + 16 <= size && AllAscii8(in + i) && AllAscii8(in + i + 8)) {
      std::memcpy(out + o, in + i, 16);
      i += 16;
      o += 16;
    }
    if (i >= size) break;
    const uint8_t b = in[i];
    if (b < 0x80) {
      out[o++] = b;
      ++i;
      continue;
    }
    if (b >= 0xC2 && b <= 0xDF && i + 1 < size && IsContinuation(in[i + 1])) {
      out[o++] = two[((b & 0x1F) << 6 | (in[i + 1] & 0x3F)) - 0x80];
      i += 2;
      continue;
    }
    char32_t c;
    if (const size_t length = DecodeUtf8(view, i, c)) {
      const int mapped = UnicodeToCp1251(c);
      out[o++] = mapped < 0 ? '?' : static_cast<uint8_t>(mapped);
      i += length;
      continue;
    }
    if (!at_end && IsCutSequence(in + i, size - i)) break;
    out[o++] = '?';  // each byte of a malformed sequence
    ++i;
  }
  consumed = i;
  return o;
}

size_t Utf8SizeOfWin(const uint8_t* in, size_t size) {
  const auto& length = Utf8Of().length;
  size_t total = 0, i = 0;
#if defined(__SSE2__)
  // Blocks of ASCII and А-я only: one byte each, plus one per letter.
  while (i + 16 <= size) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(_mm_cmplt_epi8(x, _mm_set1_epi8(-64))) != 0) {
      for (size_t end = i + 16; i < end; ++i) total += length[in[i]];
      continue;
    }
    total += 16 + BitCount16(static_cast<unsigned>(_mm_movemask_epi8(x)));
    i += 16;
  }
#endif
  for (; i < size; ++i) total += length[in[i]];
  return total;
}

size_t WinToUtf8Piece(const uint8_t* in, size_t size, uint8_t* out) {
  return WinToUtf8Piece(in, size, out, BestWinToUtf8Kernel());
}

size_t WinToUtf8Piece(const uint8_t* in, size_t size, uint8_t* out, Utf8Kernel kernel) {
  const Utf8OfByte& table = Utf8Of();
  size_t i = 0, o = 0, scalar_until = 0;
  while (i < size) {
    if (kernel && i >= scalar_until) {
      const size_t before = i;
      kernel(in, size, i, out, o);
      scalar_until = i + (i == before ? 8 : 1);
    }
    if (i + 8 <= size && AllAscii8(in + i)) {
      std::memcpy(out + o, in + i, 8);
      i += 8;
      o += 8;
      continue;
    }
    if (i >= size) break;
    const uint8_t b = in[i++];
    // Four bytes stored, `length` of them kept: the caller's slack covers
    // the overrun of the last character.
    std::memcpy(out + o, &table.packed[b], 4);
    o += table.length[b];
  }
  return o;
}

std::string Utf8ToWin(std::string_view text) {
  if (StartsWithUtf8Bom(text)) text.remove_prefix(kBom.size());
  std::string out;
  const auto* in = reinterpret_cast<const uint8_t*>(text.data());
  size_t consumed = 0;
  // reserve() allocates without touching the pages, so the advice comes
  // before the zero-fill faults them in.
  out.reserve(text.size());
  AdviseHugePages(out.data(), text.size());
  out.resize(text.size());
  out.resize(
      Utf8ToWinPiece(in, text.size(), reinterpret_cast<uint8_t*>(out.data()), true, consumed));
  return out;
}

std::string WinToUtf8(std::string_view text) {
  const auto* in = reinterpret_cast<const uint8_t*>(text.data());
  const size_t size = Utf8SizeOfWin(in, text.size());
  std::string out;
  out.reserve(size + kUtf8Slack);
  AdviseHugePages(out.data(), size);
  out.resize(size + kUtf8Slack);
  out.resize(WinToUtf8Piece(in, text.size(), reinterpret_cast<uint8_t*>(out.data())));
  return out;
}

}  // namespace lirvane
