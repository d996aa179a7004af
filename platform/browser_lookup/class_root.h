// Read access to the file-class keys under HKEY_CLASSES_ROOT, where Windows
// keeps the open command of each file type. Key paths are written with
// backslashes and without the root: ".html", "htmlfile\shell\open\command".
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace lirvane {

class ClassRootReader {
 public:
  virtual ~ClassRootReader() = default;
  // The key's default (unnamed) value as UTF-8; nullopt when the key cannot
  // be opened or has no readable default value.
  virtual std::optional<std::string> DefaultValue(const std::string& key) const = 0;
};

// Key names compare without regard to ASCII letter case, as in the registry.
struct RegistryKeyLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

// A class root held in memory: the platforms without a registry, and tests.
class MemoryClassRoot : public ClassRootReader {
 public:
  // A key with a default value.
  void Set(const std::string& key, std::string value) { keys_[key] = std::move(value); }
  // A key that exists but has no default value.
  void AddKey(const std::string& key) { keys_.try_emplace(key); }
  std::optional<std::string> DefaultValue(const std::string& key) const override;

 private:
  std::map<std::string, std::optional<std::string>, RegistryKeyLess> keys_;
};

// The system's class root: the registry on Windows, an empty one elsewhere.
std::unique_ptr<ClassRootReader> MakeSystemClassRoot();

}  // namespace lirvane
