// Where the running program lives; files that travel with it (the scheme
// file, the help file) sit beside it, whatever the current directory is.
#pragma once

#include <filesystem>

namespace lirvane {

// Full path of the running executable; empty if the system cannot tell.
std::filesystem::path ExecutablePath();

// The folder that holds it.
std::filesystem::path ExecutableFolder();

}  // namespace lirvane
