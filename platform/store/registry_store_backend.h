// The settings store as the Windows registry: HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT, strings as REG_SZ, integers as REG_DWORD. Texts pass
// between the program's Windows-1251 and the registry's UTF-16. Each call
// opens the key it names and closes it again.
#pragma once

#ifdef _WIN32

#include <string>

#include "platform/store/store_backend.h"

namespace lirvane {

class RegistryStoreBackend final : public StoreBackend {
 public:
  // The system's own HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT.
  RegistryStoreBackend() = default;
  // Each root stands for the existing key `base` below the real root (a
  // path as the store takes it), so that tests keep to keys of their own.
  RegistryStoreBackend(std::string local_machine_base, std::string classes_root_base);

  bool KeyExists(StoreRoot root, std::string_view path) override;
  bool CreateKey(StoreRoot root, std::string_view path) override;
  bool KeyWritable(StoreRoot root, std::string_view path) override;
  StoreReadResult ReadValue(StoreRoot root, std::string_view path, std::string_view name) override;
  bool WriteString(StoreRoot root, std::string_view path, std::string_view name,
                   std::string_view value) override;
  bool WriteInteger(StoreRoot root, std::string_view path, std::string_view name,
                    int32_t value) override;
  bool WriteRaw(StoreRoot root, std::string_view path, std::string_view name, uint32_t type_code,
                std::string_view data) override;
  bool DeleteValue(StoreRoot root, std::string_view path, std::string_view name) override;

 private:
  // The registry path of a store path under `root`.
  std::string KeyPath(StoreRoot root, std::string_view path) const;

  std::string local_machine_base_;
  std::string classes_root_base_;
};

}  // namespace lirvane

#endif  // _WIN32
