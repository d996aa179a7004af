// What a conversion's target name stands for, decided before anything is
// written, so that replacing it keeps what the user had.
#pragma once

#include <filesystem>
#include <string_view>

#include "base/file_io.h"

namespace lirvane {

struct ResolvedTarget {
  enum class Kind {
    kNewFile,      // nothing there yet: a new file is made
    kRegularFile,  // an existing file, replaced by a new one that keeps `kept`
    kWriteInto,    // a FIFO or device: written into as it is
    kDescriptor,   // one of this process's open files (/dev/stdout, /dev/fd/N)
    kOther,        // a folder and the like: replacing it fails at the rename
  };
  Kind kind = Kind::kNewFile;
  // The file meant, symbolic links followed: a link stays a link and the
  // file it points to is replaced.
  std::filesystem::path path;
  FileOwnerAndMode kept;  // kRegularFile
  int descriptor = -1;    // kDescriptor
};

ResolvedTarget ResolveTarget(std::string_view name);

}  // namespace lirvane
