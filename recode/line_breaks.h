// How a text pane sees line breaks, shared by the panes and by everything
// that loads or saves a file the way a pane does.
//
// A line ends at CR LF, at a lone CR or at a lone LF; a pane's whole text
// joins its lines with CR LF. So CR LF comes back as it went in, and a lone
// CR or LF comes back as CR LF, as in the rich-edit control the program
// grew up with. A final line break is kept: "a\r\n" stays "a\r\n".
#pragma once

#include <string>
#include <string_view>

namespace lirvane {

// Rewrites every line break of `text` as CR LF.
std::string NormalizeLineBreaks(std::string_view text);

}  // namespace lirvane
