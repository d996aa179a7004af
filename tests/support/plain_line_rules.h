// The command line's line rules by code written out the plain way, one
// byte at a time, for comparing what the program writes against.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "recode/recode.h"

namespace lirvane::testing {

// Lines end at a CR (one LF after it is skipped), a 0x1A ends the text,
// each line is recoded and written with CR LF.
inline std::string PlainLineByLine(std::string_view text, int32_t code) {
  text = text.substr(0, text.find('\x1A'));
  std::string out;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += Recode(line, code) + "\r\n";
      line.clear();
      open = false;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(text[i]);
      open = true;
    }
  }
  if (open) out += Recode(line, code) + "\r\n";
  return out;
}

}  // namespace lirvane::testing
