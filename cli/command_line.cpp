#include "cli/command_line.h"

#include "convert/command_text.h"

namespace lirvane {

StartKind ClassifyFirstArgument(const std::vector<std::string>& args) {
  if (args.empty() || args[0].empty()) return StartKind::kOrdinary;
  if (args[0] == "-fromautorun") return StartKind::kFromAutorun;
  if (IsConversionArgument(args[0])) return StartKind::kConversion;
  return StartKind::kOpenFile;
}

}  // namespace lirvane
