// A run started with "-conv:": converts one file and ends, without opening
// the main window. Without a display it needs no windowing system at all;
// its messages then go to standard error.
#pragma once

#include <string>
#include <vector>

namespace lirvane {

// Whether a display is there to show message boxes on.
bool HaveDisplay();

// Runs the conversion the arguments name; returns the exit status.
int RunConversion(int argc, char** argv, const std::vector<std::string>& args);

}  // namespace lirvane
