// Renaming and copying onto a file that already exists. POSIX rename() and
// std::filesystem do this; the MinGW runtime's std::filesystem fails when
// the target exists, so on Windows these go to MoveFileExW and CopyFileW.
#pragma once

#include <filesystem>
#include <system_error>

namespace lirvane {

// Gives `from` the name `to`, replacing the file of that name in one step:
// the name shows the old content or the new, never neither. Both files
// must be closed on Windows.
std::error_code RenameOver(const std::filesystem::path& from,
                           const std::filesystem::path& to);

// Copies `from` to `to`, replacing what `to` held.
std::error_code CopyOver(const std::filesystem::path& from,
                         const std::filesystem::path& to);

}  // namespace lirvane
