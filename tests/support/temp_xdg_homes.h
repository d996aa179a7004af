// Fresh XDG_CONFIG_HOME and XDG_DATA_HOME for one test, removed afterwards,
// so the store, desktop entries and autostart files a test writes stay in
// folders of its own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace lirvane::testing {

class TempXdgHomes {
 public:
  TempXdgHomes() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lirvane-shell-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    root_ = pattern;
    std::filesystem::create_directories(Config());
    std::filesystem::create_directories(Data());
    Set("XDG_CONFIG_HOME", Config(), previous_config_);
    Set("XDG_DATA_HOME", Data(), previous_data_);
  }
  ~TempXdgHomes() {
    Restore("XDG_CONFIG_HOME", previous_config_);
    Restore("XDG_DATA_HOME", previous_data_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempXdgHomes(const TempXdgHomes&) = delete;
  TempXdgHomes& operator=(const TempXdgHomes&) = delete;

  std::filesystem::path Config() const { return root_ / "config"; }
  std::filesystem::path Data() const { return root_ / "data"; }
  std::filesystem::path DatabaseFile() const { return Config() / "lirvane" / "settings.sqlite"; }

  static std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  static void Write(const std::filesystem::path& file, const std::string& content) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

 private:
  static void Set(const char* name, const std::filesystem::path& value,
                  std::optional<std::string>& previous) {
    if (const char* old = std::getenv(name)) previous = old;
    setenv(name, value.c_str(), 1);
  }
  static void Restore(const char* name, const std::optional<std::string>& previous) {
    if (previous) {
      setenv(name, previous->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

  std::filesystem::path root_;
  std::optional<std::string> previous_config_;
  std::optional<std::string> previous_data_;
};

}  // namespace lirvane::testing
