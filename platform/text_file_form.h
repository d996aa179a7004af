// How a plain-text file is written: in which encoding, with or without a
// byte-order mark, and with which line break, so that a file saved again
// is written the way it was read.
#pragma once

#include <string>
#include <string_view>

namespace lirvane {

struct TextFileForm {
  bool utf8 = false;             // characters as UTF-8, else Windows-1251 bytes
  bool byte_order_mark = false;  // UTF-8 that starts with a byte-order mark
  std::string line_break;        // "\r\n", "\n" or "\r"; empty: none seen (CR LF)
};

// The break that ends the first line of `text`: "\r\n", "\r" or "\n";
// empty when the text is one line.
std::string_view FirstLineBreak(std::string_view text);

// `text`, whose lines are joined by CR LF, with `line_break` between them
// instead (CR LF when it is empty).
std::string JoinLinesWith(std::string text, std::string_view line_break);

}  // namespace lirvane
