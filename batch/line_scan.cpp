#include "batch/line_scan.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "batch/byte_blocks.h"
#include "recode/code_pages.h"

namespace lirvane {
namespace {

// Past the ASCII other than line breaks and NULs from `i` on, in blocks:
// most of most files. A few such bytes may be left to the caller.
size_t SkipPlainAscii(const unsigned char* bytes, size_t i, size_t size) {
#if defined(__SSE2__)
  const __m128i breaks = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i stops = _mm_or_si128(
        block, _mm_or_si128(_mm_cmpeq_epi8(block, breaks), _mm_cmpeq_epi8(block, zero)));
    if (_mm_movemask_epi8(stops) != 0) break;
  }
#endif
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kHighs = 0x8080808080808080;
  const auto has_zero_byte = [](uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    if ((word & kHighs) != 0 || has_zero_byte(word) || has_zero_byte(word ^ (kOnes * '\n'))) break;
  }
  return i;
}

// The first line break or NUL from `i` on, or `size`: one pass for both.
size_t FindBreakOrNul(const unsigned char* bytes, size_t i, size_t size) {
#if defined(__SSE2__)
  const __m128i breaks = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const int stops =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, breaks), _mm_cmpeq_epi8(block, zero)));
    if (stops != 0) return i + std::countr_zero(static_cast<unsigned>(stops));
  }
#endif
  for (; i < size; ++i)
    if (bytes[i] == '\n' || bytes[i] == 0) return i;
  return size;
}

// Sixty-four bytes as masks, a bit a byte.
struct BlockMasks {
  uint64_t breaks = 0, nuls = 0, high = 0, leads = 0;  // '\n', 0, 0x80.., 0xC0..
};

BlockMasks MasksOf(const unsigned char* bytes) {
  BlockMasks m;
#if defined(__SSE2__)
  const __m128i breaks = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  const __m128i below_leads = _mm_set1_epi8(static_cast<char>(0xBF));  // signed: 0xC0.. is above
  const auto bits = [](__m128i flags) {
    return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(flags))};
  };
  __m128i v[4];
  for (int k = 0; k < 4; ++k) {
    v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * k));
    const uint64_t high = bits(v[k]);
    m.breaks |= bits(_mm_cmpeq_epi8(v[k], breaks)) << (16 * k);
    m.high |= high << (16 * k);
    m.leads |= (bits(_mm_cmpgt_epi8(v[k], below_leads)) & high) << (16 * k);
  }
  // NULs are rare: looked for in all four at once.
  const __m128i least = _mm_min_epu8(_mm_min_epu8(v[0], v[1]), _mm_min_epu8(v[2], v[3]));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(least, zero)) != 0)
    for (int k = 0; k < 4; ++k) m.nuls |= bits(_mm_cmpeq_epi8(v[k], zero)) << (16 * k);
#else
  for (int k = 0; k < 64; ++k) {
    const uint64_t bit = uint64_t{1} << k;
    m.breaks |= bytes[k] == '\n' ? bit : 0;
    m.nuls |= bytes[k] == 0 ? bit : 0;
    m.high |= bytes[k] >= 0x80 ? bit : 0;
    m.leads |= bytes[k] >= 0xC0 ? bit : 0;
  }
#endif
  return m;
}

}  // namespace

void LineScan::EndLine() {
  if (need_ > 0) malformed_ = true;
  need_ = 0;
  ++lines;
  if (malformed_)
    ++eight_bit_lines;
  else if (non_ascii_)
    ++utf8_lines;
  non_ascii_ = malformed_ = false;
}

bool LineScan::AtLineStart() const {
  return need_ == 0 && !non_ascii_ && !malformed_ && ended_with_break_;
}

void LineScan::End() {
  if (!ended_with_break_) EndLine();
  ended_with_break_ = true;
}

void LineScan::Scan(std::string_view piece) {
  if (piece.empty()) return;
  if (!AtLineStart()) {
    // The rest of a line the last piece cut, byte by byte.
    const size_t first = piece.find('\n');
    if (first == std::string_view::npos) return ScanBytes(piece);
    ScanBytes(piece.substr(0, first + 1));
    piece.remove_prefix(first + 1);
  }
  if (const size_t last = piece.rfind('\n'); last != std::string_view::npos) {
    const std::string_view whole_lines = piece.substr(0, last + 1);
    ScanWholeLines(whole_lines, IsWellFormedUtf8(whole_lines));
    piece.remove_prefix(whole_lines.size());
  }
  ScanBytes(piece);
}

// Whole lines, from a line's start, sixty-four bytes at a time. A line
// with no byte of 0x80.. is ASCII; one where a lead byte (0xC0..) is not
// followed by a continuation byte (0x80-0xBF), or a continuation byte
// follows an ASCII one, is no UTF-8: nearly every line of an 8-bit Russian
// text. Only the other lines with non-ASCII are checked byte by byte,
// unless the caller knows the whole to be well-formed UTF-8.
void LineScan::ScanWholeLines(std::string_view text, bool well_formed) {
  size_t line_start = 0;
  uint64_t line_high = 0, line_faults = 0;    // any bit: the line has one
  uint64_t lead_before = 0, high_before = 0;  // the last byte of the block before
  ForEachByteBlock(text, MasksOf, [&](size_t base, BlockMasks m) {
    if (base + 64 > text.size()) m.nuls &= (uint64_t{1} << (text.size() - base)) - 1;
    nul = nul || m.nuls != 0;
    const uint64_t conts = m.high & ~m.leads;
    const uint64_t faults =
        (((m.leads << 1) | lead_before) & ~conts) | (conts & ~((m.high << 1) | high_before));
    lead_before = m.leads >> 63;
    high_before = m.high >> 63;
    uint64_t from = ~uint64_t{0};  // the current line's bits in this block
    for (uint64_t breaks = m.breaks; breaks != 0; breaks &= breaks - 1) {
      const int end = std::countr_zero(breaks);
      const uint64_t line = from & BitsThrough(end);
      line_high |= m.high & line;
      line_faults |= faults & line;
      const size_t line_end = base + static_cast<size_t>(end) + 1;
      if (line_high == 0 || well_formed || line_faults != 0) {
        ++lines;
        if (line_high != 0) ++(well_formed ? utf8_lines : eight_bit_lines);
      } else {
        ScanBytes(text.substr(line_start, line_end - line_start));
      }
      line_start = line_end;
      line_high = line_faults = 0;
      from &= ~line;
    }
    line_high |= m.high & from;
    line_faults |= faults & from;
    return true;
  });
}

void LineScan::ScanBytes(std::string_view piece) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
  for (size_t i = 0; i < piece.size(); ++i) {
    // Runs of ASCII other than line breaks and NULs, eight bytes at a
    // time: most of most files.
    if (need_ == 0) i = SkipPlainAscii(bytes, i, piece.size());
    if (i == piece.size()) break;
    if (malformed_) {
      // The line's kind is known: on to its end, minding NULs only.
      need_ = 0;
      size_t stop = FindBreakOrNul(bytes, i, piece.size());
      while (stop < piece.size() && bytes[stop] == 0) {
        nul = true;
        stop = FindBreakOrNul(bytes, stop + 1, piece.size());
      }
      if (stop == piece.size()) break;
      i = stop;
      EndLine();
      continue;
    }
    if (need_ == 0) {
      // Printable ASCII and two-byte characters (every Cyrillic letter),
      // the rest of most lines.
      while (i < piece.size()) {
        const unsigned char c = bytes[i];
        if (c > '\n' && c < 0x80) {
          ++i;
        } else if (c >= 0xC2 && c <= 0xDF && i + 1 < piece.size() &&
                   (bytes[i + 1] & 0xC0) == 0x80) {
          i += 2;
          non_ascii_ = true;
        } else {
          break;
        }
      }
      if (i == piece.size()) break;
    }
    const unsigned char b = bytes[i];
    if (need_ > 0) {
      if (b >= low_ && b <= high_) {
        --need_;
        low_ = 0x80, high_ = 0xBF;
        continue;
      }
      malformed_ = true;
      need_ = 0;
    }
    if (b < 0x80) {
      if (b == '\n')
        EndLine();
      else if (b == 0)
        nul = true;
      continue;
    }
    non_ascii_ = true;
    low_ = 0x80, high_ = 0xBF;
    if (b >= 0xC2 && b <= 0xDF)
      need_ = 1;
    else if (b == 0xE0)
      need_ = 2, low_ = 0xA0;
    else if (b == 0xED)
      need_ = 2, high_ = 0x9F;
    else if (b >= 0xE1 && b <= 0xEF)
      need_ = 2;
    else if (b == 0xF0)
      need_ = 3, low_ = 0x90;
    else if (b == 0xF4)
      need_ = 3, high_ = 0x8F;
    else if (b >= 0xF1 && b <= 0xF3)
      need_ = 3;
    else
      malformed_ = true;
  }
  if (!piece.empty()) ended_with_break_ = piece.back() == '\n';
}

LineScan ScanOf(std::string_view text) {
  LineScan scan;
  scan.Scan(text);
  scan.End();
  return scan;
}

}  // namespace lirvane
