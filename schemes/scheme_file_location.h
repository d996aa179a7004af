// Where the scheme file "circuits.dat" lives.
//
// A copy of the program that already has a scheme file beside it, or that
// sits in a folder it may write (the build folder, a portable copy), keeps
// the file beside the executable. An installed copy, recognised by the
// starter file <prefix>/share/lirvane/starter/circuits.dat next to its bin
// folder, and a copy in a folder it cannot write keep each user's schemes
// in $XDG_DATA_HOME/lirvane/circuits.dat (~/.local/share when unset). Until
// that file exists the starter file is read in its place, so a new user
// starts with its schemes and no "not found" message; the first ordinary
// exit writes the user's own copy. The starter has a folder of its own
// because a copy installed with the prefix ~/.local would otherwise ship
// it onto the user's file, and a reinstall would overwrite the user's
// schemes.
#pragma once

#include <filesystem>

#include "base/message_sink.h"
#include "schemes/scheme_table.h"

namespace lirvane {

struct SchemeFileLocation {
  std::filesystem::path file;     // read at start, written at exit
  std::filesystem::path starter;  // read while `file` does not exist; empty if none
  bool in_data_home = false;      // `file` is the user's, below $XDG_DATA_HOME

  // `file`, or the starter file while `file` does not exist and it does.
  std::filesystem::path FileToRead() const;
};

// The places the choice depends on, as found for the running program.
struct SchemeFilePlaces {
  std::filesystem::path executable_folder;
  std::filesystem::path starter_file;  // <exe dir>/../share/lirvane/starter/circuits.dat
  std::filesystem::path data_home;     // $XDG_DATA_HOME or ~/.local/share
};

// The rule above, with the folder's writability given rather than tried
// (the superuser may write anywhere, so tests say what the answer is).
SchemeFileLocation ChooseSchemeFileLocation(const SchemeFilePlaces& places,
                                            bool executable_folder_writable);

// The places and the rule for the running program.
SchemeFilePlaces RunningSchemeFilePlaces();
SchemeFileLocation FindSchemeFileLocation();

// SaveSchemes into `location.file`, making the user's folder below
// $XDG_DATA_HOME first when it is missing.
bool SaveSchemes(SchemeTable& table, const SchemeFileLocation& location, MessageSink& sink);

}  // namespace lirvane
