// Where the running program lives; files that travel with it (the scheme
// file, the help file) sit beside it, whatever the current directory is.
#pragma once

#include <filesystem>

namespace lirvane {

// Full path of the running executable; empty if the system cannot tell.
std::filesystem::path ExecutablePath();

// The folder that holds it.
std::filesystem::path ExecutableFolder();

// Where an installed copy finds its read-only files (the help file, the
// starter schemes): <prefix>/share/lirvane beside <prefix>/bin.
std::filesystem::path InstalledDataFolder();

// `name` beside the executable when it is there, else in the installed
// data folder when it is there, else beside the executable.
std::filesystem::path ProgramDataFile(const std::filesystem::path& name);

}  // namespace lirvane
