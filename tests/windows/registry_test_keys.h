// Keys of one test's own in the real registry: "\SOFTWARE\LirvaneTests\<id>"
// under HKEY_LOCAL_MACHINE and "\LirvaneTests\<id>" under HKEY_CLASSES_ROOT,
// made fresh for the test and removed with everything below them afterwards.
// The id holds the process id, so test programs running side by side keep
// apart.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/store/registry_store_backend.h"

namespace lirvane::testing {

class RegistryTestKeys {
 public:
  RegistryTestKeys() {
    static std::atomic<int> counter{0};
    id_ = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    for (auto [root, path] :
         {Entry(HKEY_LOCAL_MACHINE, MachineBase()), Entry(HKEY_CLASSES_ROOT, ClassesBase())}) {
      RemoveTree(root, path);  // what an aborted run with the same id left
      HKEY key = nullptr;
      const LONG rc = RegCreateKeyExW(root, Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr);
      if (rc != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot make " << path << ": " << rc;
      else
        RegCloseKey(key);
    }
  }
  ~RegistryTestKeys() {
    RemoveTree(HKEY_LOCAL_MACHINE, MachineBase());
    RemoveTree(HKEY_CLASSES_ROOT, ClassesBase());
  }
  RegistryTestKeys(const RegistryTestKeys&) = delete;
  RegistryTestKeys& operator=(const RegistryTestKeys&) = delete;

  std::string MachineBase() const { return "SOFTWARE\\LirvaneTests\\" + id_; }
  std::string ClassesBase() const { return "LirvaneTests\\" + id_; }

  // A back end whose two roots are these keys.
  std::unique_ptr<RegistryStoreBackend> Backend() const {
    return std::make_unique<RegistryStoreBackend>(MachineBase(), ClassesBase());
  }

  // The real registry path of a store path, for checks through the API.
  std::wstring Path(StoreRoot root, const std::string& path) const {
    const std::string base = root == StoreRoot::kClassesRoot ? ClassesBase() : MachineBase();
    return Wide(path.empty() || path == "\\" ? base
                : path.front() == '\\'       ? base + path
                                             : base + "\\" + path);
  }

  // Test paths are ASCII.
  static std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
  }

 private:
  struct Entry {
    Entry(HKEY r, std::string p) : root(r), path(std::move(p)) {}
    HKEY root;
    std::string path;
  };

  static void RemoveTree(HKEY root, const std::string& path) {
    RegDeleteTreeW(root, Wide(path).c_str());
    RegDeleteKeyW(root, Wide(path).c_str());
  }

  std::string id_;
};

}  // namespace lirvane::testing
