// A run started with "-conv:": converts one file and ends, without opening
// the main window. It needs no windowing system: without a display its
// messages go to standard error, and with one the window part is loaded
// only when there is a message box to show.
#pragma once

#include <string>
#include <vector>

namespace lirvane {

// Runs the conversion the arguments name; returns the exit status.
int RunConversion(int argc, char** argv, const std::vector<std::string>& args);

}  // namespace lirvane
