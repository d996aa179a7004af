// Shared by the install-tree and package tests: temporary folders, whole
// files, and commands run through the shell with their output caught.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

namespace lirvane::testing {

namespace fs = std::filesystem;

inline fs::path MakeTempFolder(const std::string& stem) {
  std::string pattern = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  return pattern;
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing " + path.string() + ">";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteFile(const fs::path& path, std::string_view content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline std::string Quote(std::string_view arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

struct CommandResult {
  int status;          // the exit status, -1 when killed
  std::string output;  // standard output
  std::string errors;  // standard error
};

// Runs `command` through /bin/sh in `folder`.
inline CommandResult RunCommand(const std::string& command, const fs::path& folder) {
  const fs::path out = folder / ".stdout";
  const fs::path err = folder / ".stderr";
  const std::string line = "cd " + Quote(folder.string()) + " && { " + command + " ; } >" +
                           Quote(out.string()) + " 2>" + Quote(err.string());
  const int raw = std::system(line.c_str());
  CommandResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  std::error_code ignored;
  fs::remove(out, ignored);
  fs::remove(err, ignored);
  return result;
}

}  // namespace lirvane::testing
