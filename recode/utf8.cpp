#include "recode/utf8.h"

#include <cstdint>

namespace lirvane {
namespace {

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

size_t DecodeUtf8(std::string_view text, size_t i, char32_t& c) {
  const auto at = [&](size_t k) { return static_cast<uint8_t>(text[i + k]); };
  const size_t left = text.size() - i;
  const uint8_t b0 = at(0);
  if (b0 < 0x80) {
    c = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (left < 2 || !IsContinuation(at(1))) return 0;
    c = (char32_t(b0 & 0x1F) << 6) | (at(1) & 0x3F);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (left < 3 || !IsContinuation(at(1)) || !IsContinuation(at(2))) return 0;
    if (b0 == 0xE0 && at(1) < 0xA0) return 0;  // overlong
    if (b0 == 0xED && at(1) > 0x9F) return 0;  // surrogate
    c = (char32_t(b0 & 0x0F) << 12) | (char32_t(at(1) & 0x3F) << 6) | (at(2) & 0x3F);
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (left < 4 || !IsContinuation(at(1)) || !IsContinuation(at(2)) || !IsContinuation(at(3)))
      return 0;
    if (b0 == 0xF0 && at(1) < 0x90) return 0;  // overlong
    if (b0 == 0xF4 && at(1) > 0x8F) return 0;  // beyond U+10FFFF
    c = (char32_t(b0 & 0x07) << 18) | (char32_t(at(1) & 0x3F) << 12) |
        (char32_t(at(2) & 0x3F) << 6) | (at(3) & 0x3F);
    return 4;
  }
  return 0;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace lirvane
