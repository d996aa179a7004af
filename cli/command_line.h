// What the first argument asks for.
#pragma once

#include <string>
#include <vector>

namespace lirvane {

enum class StartKind {
  kOrdinary,     // no first argument (or an empty one)
  kFromAutorun,  // exactly "-fromautorun": start minimized
  kConversion,   // begins with "-conv:" in any letter case
  kOpenFile,     // anything else: a file to open
};

StartKind ClassifyFirstArgument(const std::vector<std::string>& args);

}  // namespace lirvane
