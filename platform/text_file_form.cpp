#include "platform/text_file_form.h"

namespace lirvane {

std::string_view FirstLineBreak(std::string_view text) {
  const size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return {};
  if (text[at] == '\n') return "\n";
  return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

std::string JoinLinesWith(std::string text, std::string_view line_break) {
  if (line_break.empty() || line_break == "\r\n") return text;
  // Every CR LF is a break: a pane's text has no other CR or LF.
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    out.append(text, from, at - from);
    out.append(line_break);
    from = at + 2;
  }
  out.append(text, from, std::string::npos);
  return out;
}

}  // namespace lirvane
