#include "schemes/line_recoder.h"

#include <cstring>

#include "recode/recode.h"

namespace lirvane {

const char* LineRecoder::Prepare(char* in, size_t& size) {
  if (ended_ || size == 0) {
    size = 0;
    return in;
  }
  if (const void* eof = std::memchr(in, '\x1A', size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - in);
    ended_ = true;
  }
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

size_t LineRecoder::Feed(char* in, size_t size, char* out) {
  const char* p = Prepare(in, size);
  return CopyLines(p, in + size, out);
}

std::string_view LineRecoder::FeedView(char* in, size_t size, char* out) {
  const char* p = Prepare(in, size);
  const char* const end = in + size;
  // Lines that already end in CR LF come out as they are: the block is
  // written from where it was read, without a copy.
  for (const char* q = p;;) {
    const void* found = std::memchr(q, '\r', static_cast<size_t>(end - q));
    if (!found) break;
    q = static_cast<const char*>(found) + 1;
    if (q == end || *q != '\n') return std::string_view(out, CopyLines(p, end, out));
    ++q;
  }
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
