// The start of a file as a repair would write it, for the window that
// shows the folder check's results.
#pragma once

#include <cstddef>
#include <string>

#include "batch/file_verdict.h"

namespace lirvane {

// The first `bytes` or so of the file (whole lines) repaired into
// `target`, as UTF-8; empty when the file cannot be read or the repair
// would lose a character.
std::string RepairPreview(const std::string& path, TargetPage target, size_t bytes);

}  // namespace lirvane
