// Reading an in-memory text as lines the way the scheme file is read.
#pragma once

#include <string_view>

namespace lirvane {

// A line ends at a CR, and one LF directly after that CR is skipped; an LF
// without a CR before it stays inside the line. A byte 0x1A ends the text
// just as its physical end does. A line has no length limit.
class TextLineReader {
 public:
  explicit TextLineReader(std::string_view text);

  // True when nothing but the end (or a 0x1A) remains.
  bool AtEnd() const { return pos_ >= text_.size(); }

  // The next line without its CR; an empty line once the text has ended.
  std::string_view NextLine();

 private:
  std::string_view text_;  // already cut at the first 0x1A
  size_t pos_ = 0;
};

}  // namespace lirvane
