#include "base/file_replace.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace lirvane {

#ifdef _WIN32
namespace {

std::error_code LastError() {
  return {static_cast<int>(GetLastError()), std::system_category()};
}

}  // namespace

std::error_code RenameOver(const std::filesystem::path& from,
                           const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return LastError();
}

std::error_code CopyOver(const std::filesystem::path& from,
                         const std::filesystem::path& to) {
  if (CopyFileW(from.c_str(), to.c_str(), /*bFailIfExists=*/FALSE)) return {};
  return LastError();
}
#else
std::error_code RenameOver(const std::filesystem::path& from,
                           const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return error;
}

std::error_code CopyOver(const std::filesystem::path& from,
                         const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                             error);
  return error;
}
#endif

}  // namespace lirvane
