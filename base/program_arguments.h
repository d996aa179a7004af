// The program's arguments as UTF-8 texts, the form the command-line
// conversion takes them in.
#pragma once

#include <string>
#include <vector>

namespace lirvane {

// Arguments after the program name. On Windows `argv` holds them in the
// ANSI code page, where a letter outside it (a Cyrillic one under a Western
// code page) is already lost; so they are taken again from the UTF-16
// command line, split by the system's own rules. Elsewhere `argv` is used as
// it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace lirvane
