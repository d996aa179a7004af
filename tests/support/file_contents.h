// Files and shell words for the tests that run the built executable.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lirvane::testing {

// The file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Writes the bytes as the whole file, making its folder when missing.
inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  const std::filesystem::path folder = path.parent_path();
  if (!folder.empty() && !std::filesystem::exists(folder))
    std::filesystem::create_directories(folder);
  std::ofstream(path, std::ios::binary) << content;
}

// The argument as one word for the shell.
inline std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace lirvane::testing
