// Integers written as text, as the scheme file and the command line hold
// them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lirvane {

// Optional leading blanks, an optional sign, decimal digits and nothing else;
// the value must fit in 32 bits. Anything else gives nullopt.
std::optional<int32_t> ParseIntegerText(std::string_view text);

}  // namespace lirvane
