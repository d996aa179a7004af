#include "schemes/text_lines.h"

namespace lirvane {

TextLineReader::TextLineReader(std::string_view text) : text_(text.substr(0, text.find('\x1A'))) {}

std::string_view TextLineReader::NextLine() {
  if (AtEnd()) return {};
  const size_t cr = text_.find('\r', pos_);
  if (cr == std::string_view::npos) {
    const std::string_view line = text_.substr(pos_);
    pos_ = text_.size();
    return line;
  }
  const std::string_view line = text_.substr(pos_, cr - pos_);
  pos_ = cr + 1;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return line;
}

}  // namespace lirvane
