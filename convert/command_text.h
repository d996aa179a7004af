// The command line of a conversion run, as one text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lirvane {

// One blank before each argument, each argument whole: " -conv:a[8]b".
std::string AssembleCommandText(const std::vector<std::string>& arguments);

// True when the first six characters of the first argument, ASCII letters
// lowered, are "-conv:".
bool IsConversionArgument(std::string_view first_argument);

}  // namespace lirvane
