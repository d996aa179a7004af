// The temporary files a conversion leaves in a folder: target + "~tmp" and
// six characters of the run's own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lirvane::testing {

inline std::vector<std::filesystem::path> TemporaryFilesOf(const std::filesystem::path& target) {
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const std::string prefix = target.filename().string() + "~tmp";
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
      found.push_back(entry.path());
  }
  return found;
}

}  // namespace lirvane::testing
