// Between the system's text (UTF-8: arguments, messages) and the program's
// home encoding, Windows-1251 (scheme names, texts).
#pragma once

#include <string>
#include <string_view>

namespace lirvane {

// A command-line argument as Windows-1251, so that it can be compared with
// scheme names. Characters Windows-1251 lacks become '?'; bytes that are not
// valid UTF-8 pass through as they are.
std::string ArgumentToWindows1251(std::string_view utf8);

// Windows-1251 bytes as UTF-8, for messages. Every byte has a character.
std::string Windows1251ToUtf8(std::string_view text);

}  // namespace lirvane
