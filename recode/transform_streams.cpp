#include "recode/transform_streams.h"

#include <algorithm>
#include <cstring>

namespace lirvane {
namespace {

// First `c` in [from, end), or end.
const char* Find(const char* from, const char* end, char c) {
  if (from == end) return end;  // an empty view may have no data pointer at all
  const void* found = std::memchr(from, c, static_cast<size_t>(end - from));
  return found ? static_cast<const char*>(found) : end;
}

void Append(std::string& out, const char* from, const char* to) {
  out.append(from, static_cast<size_t>(to - from));
}

}  // namespace

void LineBreaksStream::Feed(std::string_view piece, std::string& out) {
  const char* p = piece.data();
  const char* const end = p + piece.size();
  if (after_cr_ && p < end) {
    if (*p == '\n') ++p;
    after_cr_ = false;
  }
  out.reserve(out.size() + piece.size() + piece.size() / 16);
  // The next CR and the next LF are each searched for once per break of
  // their own kind, so a text without CRs (or LFs) is not scanned again
  // for every line.
  const char* next_cr = Find(p, end, '\r');
  const char* next_lf = Find(p, end, '\n');
  while (p < end) {
    const char* line_end = std::min(next_cr, next_lf);
    Append(out, p, line_end);
    if (line_end == end) break;
    out += "\r\n";
    p = line_end + 1;
    if (line_end == next_cr) {
      if (p == end) {
        after_cr_ = true;
        break;
      }
      if (*p == '\n') ++p;
    }
    if (next_cr < p) next_cr = Find(p, end, '\r');
    if (next_lf < p) next_lf = Find(p, end, '\n');
  }
}

void CollapseSpacesStream::Feed(std::string_view piece, std::string& out) {
  const char* p = piece.data();
  const char* const end = p + piece.size();
  out.reserve(out.size() + piece.size());
  while (p < end) {
    if (in_run_) {
      while (p < end && *p == ' ') ++p;
      if (p == end) return;  // the run may go on in the next piece
      out += ' ';
      in_run_ = false;
    }
    const char* space = Find(p, end, ' ');
    Append(out, p, space);
    if (space == end) return;
    in_run_ = true;
    p = space + 1;
  }
}

void CollapseSpacesStream::Finish(std::string& out) {
  if (in_run_) out += ' ';
  in_run_ = false;
}

void DeleteTagsStream::Feed(std::string_view piece, std::string& out) {
  const char* p = piece.data();
  const char* const end = p + piece.size();
  out.reserve(out.size() + piece.size());
  while (p < end) {
    if (in_tag_) {
      const char* close = Find(p, end, '>');
      if (close == end) return;
      in_tag_ = false;
      p = close + 1;
    } else {
      const char* open = Find(p, end, '<');
      Append(out, p, open);
      if (open == end) return;
      in_tag_ = true;
      p = open + 1;
    }
  }
}

}  // namespace lirvane
