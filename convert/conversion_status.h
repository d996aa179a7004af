// Outcome of a command-line conversion, used as the process's exit status
// so that scripts can tell success from failure:
//
//   0  kOk               the target was written
//   1  kSourceNotFound   the source is not an existing regular file
//   2  kCommandLineError the what-part is no code, scheme or keyword, or
//                        the scheme found has no rules
//   3  kCannotCreate     the target cannot be written: the caller may not
//                        write it, it is a folder or a loop of links, or
//                        the temporary file beside it cannot be made
//   4  kRenameFailed     the temporary file cannot take the target's name;
//                        the converted text stays in it
//   5  kIoError          reading the source or writing the temporary file
//                        failed; the conversion stopped
//   8  kRefused          the target is another user's link, FIFO or file
//                        in a shared sticky folder (/tmp): not written
//
// 6 and 7 are the window's (cli/start_status.h).
#pragma once

namespace lirvane {

enum class ConversionStatus : int {
  kOk = 0,
  kSourceNotFound = 1,
  kCommandLineError = 2,
  kCannotCreate = 3,
  kRenameFailed = 4,
  kIoError = 5,
  kRefused = 8,
};

}  // namespace lirvane
