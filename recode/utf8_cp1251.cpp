#include "recode/utf8_cp1251.h"

#include <cstdint>

#include "recode/cp1251_unicode.h"
#include "recode/utf8.h"
#include "recode/utf8_recode.h"

namespace lirvane {

std::string ArgumentToWindows1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(utf8, i, c);
    if (length == 0) {
      out.push_back(utf8[i]);
      ++i;
      continue;
    }
    const int byte = c < 0x10000 ? UnicodeToCp1251(c) : -1;
    out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    i += length;
  }
  return out;
}

std::string Windows1251ToUtf8(std::string_view text) { return WinToUtf8(text); }

}  // namespace lirvane
