#include "convert/command_text.h"

namespace lirvane {

std::string AssembleCommandText(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    text += ' ';
    text += argument;
  }
  return text;
}

bool IsConversionArgument(std::string_view first_argument) {
  constexpr std::string_view kPrefix = "-conv:";
  if (first_argument.size() < kPrefix.size()) return false;
  for (size_t i = 0; i < kPrefix.size(); ++i) {
    char c = first_argument[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kPrefix[i]) return false;
  }
  return true;
}

}  // namespace lirvane
