// What became of one file: the line printed for it and how it counts in
// the summary and the exit status.
#pragma once

#include <string>

namespace lirvane {

struct FileOutcome {
  enum class Kind {
    kOk,     // reads right (and, for --fix, is in the target page)
    kToFix,  // needs a repair (--check, --fix --dry-run)
    kFixed,  // repaired or converted
    kLeft,   // needed a repair but was left as it is
    kBinary,
    kUnknown,
    kError,    // could not be read or written
    kStopped,  // the run was interrupted while on this file
  };
  Kind kind = Kind::kOk;
  // After the path and a tab; empty: nothing is printed for the file.
  std::string text;
};

}  // namespace lirvane
