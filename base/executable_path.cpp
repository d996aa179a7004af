#include "base/executable_path.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <vector>
#endif

namespace lirvane {

std::filesystem::path ExecutablePath() {
#ifdef _WIN32
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
  }
#else
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
#endif
}

std::filesystem::path ExecutableFolder() { return ExecutablePath().parent_path(); }

std::filesystem::path InstalledDataFolder() {
  const std::filesystem::path folder = ExecutableFolder();
  if (folder.empty()) return {};
  return (folder / ".." / "share" / "lirvane").lexically_normal();
}

std::filesystem::path ProgramDataFile(const std::filesystem::path& name) {
  std::filesystem::path beside = ExecutableFolder() / name;
  std::error_code ignored;
  if (std::filesystem::exists(beside, ignored)) return beside;
  std::filesystem::path installed = InstalledDataFolder() / name;
  if (!InstalledDataFolder().empty() && std::filesystem::exists(installed, ignored))
    return installed;
  return beside;
}

}  // namespace lirvane
