// One file checked or repaired, start to end, on whichever worker thread
// takes it.
#pragma once

#include <atomic>
#include <string>

#include "batch/batch_options.h"
#include "batch/file_outcome.h"

namespace lirvane {

// Reads the file and judges it; stops early when `stop` is set.
FileOutcome CheckFile(const std::string& path, const std::atomic<bool>& stop);

// Judges the file and, unless it is already right in the target page (or
// binary, or unknown), replaces it with its repaired text. An interrupted
// repair leaves the file as it was.
FileOutcome FixFile(const std::string& path, const BatchOptions& options,
                    const std::atomic<bool>& stop);

}  // namespace lirvane
