// --names: garbled file and folder names repaired after the contents. A
// name is judged as a very short text (DOS 866 or KOI8-R bytes from an
// archive, UTF-8 read as Windows-1251) and written as UTF-8; a name the
// detector cannot judge stays, and a rename never takes a name that
// exists. Folders come after what they hold, so the paths met on the way
// stay valid.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/batch_summary.h"
#include "batch/file_list.h"

namespace lirvane {

using ReportLine = std::function<void(const std::string& path, const std::string& text)>;

void RepairNames(const std::vector<ListedItem>& items, const BatchOptions& options,
                 BatchSummary& summary, const ReportLine& report);

// The repaired name, or an empty string when the name stays.
std::string RepairedName(const std::string& name, std::string& verdict);

}  // namespace lirvane
