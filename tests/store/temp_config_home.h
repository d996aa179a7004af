// A fresh XDG_CONFIG_HOME for one test, removed afterwards, so every store a
// test makes lives in a folder of its own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace lirvane::testing {

class TempConfigHome {
 public:
  TempConfigHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lirvane-store-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "mkdtemp failed";
    }
    dir_ = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) previous_ = old;
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  ~TempConfigHome() {
    if (previous_) {
      setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir_, ec);
  }
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path DatabaseFile() const {
    return dir_ / "lirvane" / "settings.sqlite";
  }

 private:
  std::filesystem::path dir_;
  std::optional<std::string> previous_;
};

}  // namespace lirvane::testing
