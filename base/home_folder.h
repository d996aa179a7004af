// The user's home folder and the XDG base folders below it: one rule for
// the settings store, the scheme file and the desktop entries, so that all
// three land in the same home whatever the environment says.
#pragma once

#include <filesystem>

namespace lirvane {

// $HOME when it is an absolute path; otherwise the home folder of the
// user's account entry (USERPROFILE on Windows); empty when neither gives
// an absolute path. A relative or empty HOME is never used: it would put
// the user's files wherever the program happened to be started.
std::filesystem::path HomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, else HomeFolder()/.config;
// empty when there is no home folder.
std::filesystem::path ConfigHomeFolder();

// $XDG_DATA_HOME when it is an absolute path, else HomeFolder()/.local/share;
// empty when there is no home folder.
std::filesystem::path DataHomeFolder();

}  // namespace lirvane
