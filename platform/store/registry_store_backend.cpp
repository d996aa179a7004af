#ifdef _WIN32

#include "platform/store/registry_store_backend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/store/store_names.h"
#include "recode/cp1251_unicode.h"

namespace lirvane {
namespace {

// Far beyond any setting, and small enough for every size the API takes.
constexpr size_t kLongestText = 1u << 24;

HKEY RootHandle(StoreRoot root) {
  return root == StoreRoot::kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

// Through the program's own byte <-> character mapping rather than the
// system's code page 1251 tables, so that every byte, 0x98 included, comes
// back as it went in. Characters without a byte (written by another
// program) read as '?'.
std::optional<std::wstring> Widen(std::string_view text) {
  if (text.size() > kLongestText) return std::nullopt;
  std::wstring wide(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    wide[i] = static_cast<wchar_t>(Cp1251ToUnicode(static_cast<uint8_t>(text[i])));
  }
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  std::string text(wide.size(), '\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    const int byte = UnicodeToCp1251(static_cast<char32_t>(wide[i]));
    text[i] = byte < 0 ? '?' : static_cast<char>(byte);
  }
  return text;
}

class OpenedKey {
 public:
  OpenedKey() = default;
  ~OpenedKey() {
    if (handle_ != nullptr) RegCloseKey(handle_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  HKEY* Out() { return &handle_; }
  HKEY Get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

// `path` as KeyPath gives it.
LONG OpenKey(StoreRoot root, std::string_view path, REGSAM access, OpenedKey& key) {
  const std::optional<std::wstring> wide = Widen(path);
  if (!wide) return ERROR_INVALID_PARAMETER;
  return RegOpenKeyExW(RootHandle(root), wide->c_str(), 0, access, key.Out());
}

bool SetValue(StoreRoot root, std::string_view path, std::string_view name, DWORD type,
              const BYTE* data, size_t size) {
  if (size > kLongestText * sizeof(wchar_t)) return false;
  const std::optional<std::wstring> wide_name = Widen(name);
  if (!wide_name) return false;
  OpenedKey key;
  if (OpenKey(root, path, KEY_SET_VALUE, key) != ERROR_SUCCESS) return false;
  return RegSetValueExW(key.Get(), wide_name->c_str(), 0, type, data, static_cast<DWORD>(size)) ==
         ERROR_SUCCESS;
}

}  // namespace

RegistryStoreBackend::RegistryStoreBackend(std::string local_machine_base,
                                           std::string classes_root_base)
    : local_machine_base_(NormalizeStorePath(local_machine_base)),
      classes_root_base_(NormalizeStorePath(classes_root_base)) {}

std::string RegistryStoreBackend::KeyPath(StoreRoot root, std::string_view path) const {
  const std::string& base =
      root == StoreRoot::kClassesRoot ? classes_root_base_ : local_machine_base_;
  std::string normal = NormalizeStorePath(path);
  if (base.empty()) return normal;
  if (normal.empty()) return base;
  return base + '\\' + normal;
}

bool RegistryStoreBackend::KeyExists(StoreRoot root, std::string_view path) {
  OpenedKey key;
  return OpenKey(root, KeyPath(root, path), KEY_READ, key) == ERROR_SUCCESS;
}

bool RegistryStoreBackend::CreateKey(StoreRoot root, std::string_view path) {
  const std::optional<std::wstring> wide = Widen(KeyPath(root, path));
  if (!wide) return false;
  OpenedKey key;
  return RegCreateKeyExW(RootHandle(root), wide->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_READ | KEY_WRITE, nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
}

bool RegistryStoreBackend::KeyWritable(StoreRoot root, std::string_view path) {
  OpenedKey key;
  return OpenKey(root, KeyPath(root, path), KEY_READ | KEY_WRITE, key) == ERROR_SUCCESS;
}

StoreReadResult RegistryStoreBackend::ReadValue(StoreRoot root, std::string_view path,
                                                std::string_view name) {
  StoreReadResult result;
  const auto status_of = [](LONG rc) {
    return rc == ERROR_FILE_NOT_FOUND ? StoreReadStatus::kMissing : StoreReadStatus::kFailed;
  };
  const std::optional<std::wstring> wide_name = Widen(name);
  if (!wide_name) {
    result.status = StoreReadStatus::kFailed;
    return result;
  }
  OpenedKey key;
  LONG rc = OpenKey(root, KeyPath(root, path), KEY_QUERY_VALUE, key);
  if (rc != ERROR_SUCCESS) {
    result.status = status_of(rc);
    return result;
  }

  DWORD type = 0;
  DWORD size = 0;
  rc = RegQueryValueExW(key.Get(), wide_name->c_str(), nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) {
    result.status = status_of(rc);
    return result;
  }
  std::vector<BYTE> data;
  // The value may grow between the two queries; ask again a few times.
  for (int attempt = 0;; ++attempt) {
    data.resize(static_cast<size_t>(size));
    DWORD got = size;
    rc = RegQueryValueExW(key.Get(), wide_name->c_str(), nullptr, &type,
                          data.empty() ? nullptr : data.data(), &got);
    if (rc == ERROR_MORE_DATA && attempt < 4) {
      size = got;
      continue;
    }
    if (rc != ERROR_SUCCESS) {
      result.status = status_of(rc);
      return result;
    }
    data.resize(static_cast<size_t>(got));
    break;
  }

  StoreValue& value = result.value;
  value.type_code = type;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    if (!wide.empty()) {
      std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    }
    // The stored terminator is not part of the text; zeros inside it are.
    if (!wide.empty() && wide.back() == L'\0') wide.pop_back();
    value.kind = StoreValueKind::kString;
    value.bytes = Narrow(wide);
  } else if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, data.data(), sizeof number);
    value.kind = StoreValueKind::kInteger;
    value.integer = static_cast<int32_t>(number);
  } else {
    value.kind = StoreValueKind::kOther;
    value.bytes.assign(data.begin(), data.end());
  }
  result.status = StoreReadStatus::kFound;
  return result;
}

bool RegistryStoreBackend::WriteString(StoreRoot root, std::string_view path, std::string_view name,
                                       std::string_view value) {
  const std::optional<std::wstring> wide = Widen(value);
  if (!wide) return false;
  // REG_SZ carries its terminator.
  return SetValue(root, KeyPath(root, path), name, REG_SZ,
                  reinterpret_cast<const BYTE*>(wide->c_str()),
                  (wide->size() + 1) * sizeof(wchar_t));
}

bool RegistryStoreBackend::WriteInteger(StoreRoot root, std::string_view path,
                                        std::string_view name, int32_t value) {
  const DWORD number = static_cast<DWORD>(value);
  return SetValue(root, KeyPath(root, path), name, REG_DWORD,
                  reinterpret_cast<const BYTE*>(&number), sizeof number);
}

bool RegistryStoreBackend::WriteRaw(StoreRoot root, std::string_view path, std::string_view name,
                                    uint32_t type_code, std::string_view data) {
  return SetValue(root, KeyPath(root, path), name, type_code,
                  reinterpret_cast<const BYTE*>(data.data()), data.size());
}

bool RegistryStoreBackend::DeleteValue(StoreRoot root, std::string_view path,
                                       std::string_view name) {
  const std::optional<std::wstring> wide_name = Widen(name);
  if (!wide_name) return false;
  OpenedKey key;
  LONG rc = OpenKey(root, KeyPath(root, path), KEY_SET_VALUE, key);
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS) return false;
  rc = RegDeleteValueW(key.Get(), wide_name->c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace lirvane

#endif  // _WIN32
