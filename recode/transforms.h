// Text services on Windows-1251 text. Each is a pure function, linear in the
// length of its input, that never fails.
#pragma once

#include <string>
#include <string_view>

namespace lirvane {

// Keyboard-layout repair: Latin characters typed on the keys of the Russian
// layout become the letters of those keys, and back.
std::string LatToCyr(std::string_view text);
std::string CyrToLat(std::string_view text);

// Case conversion by the Windows-1251 letter pairs, whatever the machine's
// locale.
std::string UpperCaseText(std::string_view text);
std::string LowerCaseText(std::string_view text);

// Every run of two or more spaces becomes one space.
std::string CollapseSpaces(std::string_view text);

// Drops everything from a "<" to the next ">" (or to the end of the text).
std::string DeleteTags(std::string_view text);

// Decodes form-urlencoded text: "%hh" escapes, "+" as space, "&" as CR LF.
std::string UnescapeFormUrlencoded(std::string_view text);

}  // namespace lirvane
