#include "base/home_folder.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace lirvane {
namespace {

std::filesystem::path AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return {};
  std::filesystem::path path(value);
  return path.is_absolute() ? path.lexically_normal() : std::filesystem::path();
}

std::filesystem::path BelowHome(const char* variable, const std::filesystem::path& below_home) {
  if (std::filesystem::path set = AbsoluteVariable(variable); !set.empty()) return set;
  const std::filesystem::path home = HomeFolder();
  return home.empty() ? home : home / below_home;
}

}  // namespace

std::filesystem::path HomeFolder() {
  if (std::filesystem::path home = AbsoluteVariable("HOME"); !home.empty()) return home;
#ifdef _WIN32
  return AbsoluteVariable("USERPROFILE");
#else
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    std::filesystem::path home(entry->pw_dir);
    if (home.is_absolute()) return home.lexically_normal();
  }
  return {};
#endif
}

std::filesystem::path ConfigHomeFolder() { return BelowHome("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path DataHomeFolder() {
  return BelowHome("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

}  // namespace lirvane
