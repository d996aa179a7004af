// Replacing a file as safely as the shell's `>` does, and more atomically.
//
// FileReplacement writes a new text for a named target:
//   - nothing there yet: a temporary file of the run's own beside it,
//     target + "~tmp" + six characters, takes the name once complete;
//   - a file with one name, in a folder the caller may write: the same,
//     and the new file keeps the old one's permission bits, owner and group
//     (where the process may set them) and extended attributes (user
//     attributes, ACLs, security labels; file capabilities are dropped, as
//     any write drops them); it is flushed to the device before the rename;
//   - a file with more than one name (hard links), one in a folder the
//     caller may not write, or another user's file that the caller may
//     write but could not give back: the whole new text is first made
//     in an unnamed file, then written over the old text, so that every
//     name shows the new text, as after `>`; that file keeps what it had;
//   - a FIFO, a device, or one of the process's own descriptors
//     (/dev/stdout, /dev/fd/N): written into as it is.
// A symbolic link stays a link and the file it leads to is written.
//
// What the kernel's fs.protected_symlinks, protected_fifos and
// protected_regular refuse is refused whatever those settings are: in a
// sticky folder others may write (/tmp), a link is followed only when it
// belongs to the caller or to the folder's owner, and a FIFO or file is
// written only when it belongs to one of them. A file is replaced only
// when the caller may open it for writing. Links are resolved by the kernel
// one step at a time, relative to the open folder, so a name swapped
// meanwhile cannot lead the writing elsewhere.
//
// No temporary file outlives the run: the destructor removes one not
// committed, and SIGINT, SIGTERM or SIGHUP remove it before they end the
// process (removal_on_signal.h). Only a temporary file that is complete but
// could not take the target's name stays, for the text is in it.
//
// On Windows the target is replaced through a temporary file and
// MoveFileExW; the checks above have no counterpart there.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace lirvane {

// Targets refused although the system's own settings might allow them.
enum class ReplaceRefusal {
  kForeignLink = 1,  // another user's link in a shared sticky folder
  kForeignFifo,      // another user's FIFO there
  kForeignFile,      // another user's file there
};
const std::error_category& ReplaceRefusalCategory();
std::error_code make_error_code(ReplaceRefusal refusal);

}  // namespace lirvane

template <>
struct std::is_error_code_enum<lirvane::ReplaceRefusal> : std::true_type {};

namespace lirvane {

class FileReplacement {
 public:
  enum class Way {
    kNewFile,    // a temporary file takes the free name
    kReplace,    // a temporary file keeping the old one's owner, mode and
                 // attributes takes its name
    kInPlace,    // the text is made in an unnamed file, then written over
                 // the old file's text
    kWriteInto,  // a FIFO, a device or an open descriptor, written directly
  };

  FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Removes an uncommitted temporary file.
  ~FileReplacement();

  // Finds what `target` stands for and opens what the text goes into.
  // Fails with a ReplaceRefusal or a system error: a loop of links
  // (too_many_symbolic_link_levels), a folder (is_a_directory), a file the
  // caller may not write (permission_denied), a missing folder.
  std::error_code Open(const std::filesystem::path& target);
  Way way() const;
  // The file the text is being written into, for messages: the temporary
  // file, or the target as named when written in place or directly.
  std::string WrittenName() const;
  // The file replaced, links followed, for messages.
  std::string TargetName() const;

  std::error_code Write(std::string_view bytes);
  // Completes the replacement. On failure RenameFailed() tells whether the
  // complete text stays in the temporary file (WrittenName()) because it
  // could not take the target's name; otherwise nothing of it remains.
  std::error_code Commit();
  bool RenameFailed() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Replaces `target` by `bytes` through FileReplacement.
std::error_code ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes);

// Gives `from` the name `to`, replacing the file of that name in one step:
// the name shows the old content or the new, never neither. Both files
// must be closed on Windows. (POSIX rename(); the MinGW runtime's
// std::filesystem fails when the target exists, so Windows uses
// MoveFileExW.)
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Copies `from` to `to`, replacing what `to` held.
std::error_code CopyOver(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace lirvane
