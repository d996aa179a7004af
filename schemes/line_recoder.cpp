#include "schemes/line_recoder.h"

#include <cstring>
#include <string_view>

#include "recode/recode.h"

namespace lirvane {

size_t LineRecoder::Feed(char* in, size_t size, char* out) {
  if (ended_ || size == 0) return 0;
  if (const void* eof = std::memchr(in, '\x1A', size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - in);
    ended_ = true;
  }
  // One pass over the whole block keeps the recoder's vector loop busy; the
  // CR and LF bytes it passes are ASCII and stay as they are.
  RecodeTo(std::string_view(in, size), code_, in);

  const char* p = in;
  const char* const end = in + size;
  char* o = out;
  if (skip_lf_ && p < end) {
    if (*p == '\n') ++p;
    skip_lf_ = false;
  }
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

size_t LineRecoder::Finish(char* out) {
  if (!line_open_) return 0;
  line_open_ = false;
  out[0] = '\r';
  out[1] = '\n';
  return 2;
}

}  // namespace lirvane
