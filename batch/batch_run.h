// The folder commands, --check and --fix, from the command line to the
// exit status.
#pragma once

#include <string>
#include <vector>

namespace lirvane {

// `args` starts with "--check" or "--fix"; returns the exit status
// (batch_summary.h).
int RunBatch(const std::vector<std::string>& args);

}  // namespace lirvane
