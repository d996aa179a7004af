#include "recode/line_breaks.h"

#include "recode/transform_streams.h"

namespace lirvane {

std::string NormalizeLineBreaks(std::string_view text) {
  // The whole text as one piece of the streaming form.
  std::string out;
  LineBreaksStream().Feed(text, out);
  return out;
}

}  // namespace lirvane
