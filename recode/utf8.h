// UTF-8, for the texts that cross the program's edges (arguments, file
// names, settings) while its own texts stay Windows-1251.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lirvane {

// Decodes the well-formed UTF-8 sequence at text[i] into `c` and returns
// its length; 0 when the bytes there are not one (overlong forms,
// surrogates and values beyond U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& c);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace lirvane
