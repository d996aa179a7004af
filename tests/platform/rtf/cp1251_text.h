// Windows-1251 bytes from UTF-8 literals, so tests can be read.
#pragma once

#include <string>
#include <string_view>

namespace lirvane::testing {

// `utf8` in Windows-1251, through the C library's iconv.
std::string Cp1251(std::string_view utf8);

}  // namespace lirvane::testing
