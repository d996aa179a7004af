// Writing a pane's text as an RTF document.
#pragma once

#include <string>
#include <string_view>

namespace lirvane {

// An RTF document holding `cp1251_text` in the font `font_name_cp1251` at
// `font_size_points`, in the Windows-1251 code page with a Cyrillic font so
// that word processors show the Russian letters.
//
// Each line becomes a paragraph: CR LF, a lone CR and a lone LF all end a
// line, and a final line break gives a final empty paragraph, so
// ReadRtfText gives back the text with its line breaks as CR LF. Control
// bytes other than TAB are kept as \'hh. Characters a font table entry
// cannot hold (";", braces, backslashes, control bytes) are left out of the
// font name; an empty name becomes "Arial". A size of 0 or less leaves the
// size to the reader; sizes beyond what RTF holds are cut to 1638 points.
std::string WriteRtfDocument(std::string_view cp1251_text, std::string_view font_name_cp1251,
                             int font_size_points);

// The same document for a UTF-8 text: characters Windows-1251 has are
// written as above, the others as \uN escapes (with "?" for readers that
// know none), so ReadRtfTextUtf8 gives back every character. U+2028 and
// U+2029 end a line too; a malformed byte is written as U+FFFD.
std::string WriteRtfDocumentUtf8(std::string_view utf8_text, std::string_view font_name_cp1251,
                                 int font_size_points);

}  // namespace lirvane
