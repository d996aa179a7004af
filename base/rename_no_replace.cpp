#include "base/rename_no_replace.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#endif

namespace lirvane {

std::error_code RenameNoReplace(const std::filesystem::path& from,
                                const std::filesystem::path& to) {
#ifdef _WIN32
  // Without MOVEFILE_REPLACE_EXISTING a taken name makes the move fail.
  if (MoveFileExW(from.c_str(), to.c_str(), 0)) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
    return std::make_error_code(std::errc::file_exists);
  return {static_cast<int>(error), std::system_category()};
#else
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return {errno, std::generic_category()};
#endif
  // A file system without the atomic form: a hard link fails on a taken
  // name; a folder (no hard links) is checked first, which leaves a window.
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(from, error))) {
    if (std::filesystem::exists(std::filesystem::symlink_status(to, error)))
      return std::make_error_code(std::errc::file_exists);
    std::filesystem::rename(from, to, error);
    return error;
  }
  std::filesystem::create_hard_link(from, to, error);
  if (error) return error;
  std::filesystem::remove(from, error);
  return error;
#endif
}

}  // namespace lirvane
