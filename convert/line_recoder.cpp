#include "convert/line_recoder.h"

#include <cstring>

#include "recode/recode.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lirvane {
namespace {

struct BlockScan {
  size_t end;      // the first 0x1A, or the block's size
  bool crlf_only;  // every CR before `end` has an LF right after it
};

// One pass over a block for both things the line rules look for; the block
// is usually in CR LF lines already and then needs no rewriting.
BlockScan ScanBlock(const char* p, size_t n) {
  size_t i = 0;
  bool lone_cr = false;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i eof = _mm_set1_epi8('\x1A');
  __m128i found = _mm_setzero_si128();
  for (; i + 17 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, eof)) != 0) break;  // found below
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
    found = _mm_or_si128(found, _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr)));
  }
  lone_cr = _mm_movemask_epi8(found) != 0;
#endif
  for (; i < n; ++i) {
    if (p[i] == '\x1A') return {i, !lone_cr};
    // A CR that ends the block counts as lone: its LF is in the next one.
    if (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n')) lone_cr = true;
  }
  return {n, !lone_cr};
}

}  // namespace

const char* LineRecoder::Prepare(char* in, size_t& size, bool& crlf_only) {
  crlf_only = true;
  if (ended_ || size == 0) {
    size = 0;
    return in;
  }
  const BlockScan scan = ScanBlock(in, size);
  if (scan.end < size) {
    size = scan.end;
    ended_ = true;
  }
  crlf_only = scan.crlf_only;
  // One pass over the whole block keeps the recoder's vector loop busy; the
  // CR and LF bytes it passes are ASCII and stay as they are.
  RecodeTo(std::string_view(in, size), code_, in);
  const char* p = in;
  if (skip_lf_ && size > 0) {
    if (*p == '\n') ++p;
    skip_lf_ = false;
  }
  return p;
}

size_t LineRecoder::CopyLines(const char* p, const char* end, char* out) {
  char* o = out;
  while (p < end) {
    const void* found = std::memchr(p, '\r', static_cast<size_t>(end - p));
    const char* segment_end = found ? static_cast<const char*>(found) : end;
    const size_t length = static_cast<size_t>(segment_end - p);
    if (length > 0) {
      std::memcpy(o, p, length);
      o += length;
      line_open_ = true;
    }
    if (!found) break;
    *o++ = '\r';
    *o++ = '\n';
    line_open_ = false;
    p = segment_end + 1;
    if (p == end) {
      skip_lf_ = true;
    } else if (*p == '\n') {
      ++p;
    }
  }
  return static_cast<size_t>(o - out);
}

std::string_view LineRecoder::FeedView(char* in, size_t size, char* out) {
  bool crlf_only = false;
  const char* p = Prepare(in, size, crlf_only);
  const char* const end = in + size;
  if (!crlf_only) return std::string_view(out, CopyLines(p, end, out));
  // Lines that already end in CR LF come out as they are: the block is
  // written from where it was read, without a copy.
  if (p < end) line_open_ = !(end - p >= 2 && end[-2] == '\r' && end[-1] == '\n');
  return std::string_view(p, static_cast<size_t>(end - p));
}

size_t LineRecoder::Finish(char* out) {
  if (!line_open_) return 0;
  line_open_ = false;
  out[0] = '\r';
  out[1] = '\n';
  return 2;
}

}  // namespace lirvane
