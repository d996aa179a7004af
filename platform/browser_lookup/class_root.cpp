#include "platform/browser_lookup/class_root.h"

#include <algorithm>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>
#endif

namespace lirvane {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

#ifdef _WIN32
std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

class RegistryClassRoot : public ClassRootReader {
 public:
  std::optional<std::string> DefaultValue(const std::string& key) const override {
    // Reading needs no more than read access; asking for full access would
    // fail for every user without administrator rights.
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(key).c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
      return std::nullopt;
    std::optional<std::string> result;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(handle, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
      DWORD read = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      if (RegQueryValueExW(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                           &read) == ERROR_SUCCESS) {
        buffer.back() = L'\0';
        result = Narrow(std::wstring(buffer.data()));  // up to the first NUL
      }
    }
    RegCloseKey(handle);
    return result;
  }
};
#endif

}  // namespace

bool RegistryKeyLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
  });
}

std::optional<std::string> MemoryClassRoot::DefaultValue(const std::string& key) const {
  const auto found = keys_.find(key);
  if (found == keys_.end()) return std::nullopt;
  return found->second;
}

std::unique_ptr<ClassRootReader> MakeSystemClassRoot() {
#ifdef _WIN32
  return std::make_unique<RegistryClassRoot>();
#else
  return std::make_unique<MemoryClassRoot>();
#endif
}

}  // namespace lirvane
