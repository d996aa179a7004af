#include "platform/shell/shell_integration.h"

#include "schemes/executable_path.h"

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/shell/windows_shell_integration.h"
#else
#include "platform/shell/freedesktop_shell_integration.h"
#endif

namespace lirvane {

#ifdef _WIN32
namespace {

// The store keeps its texts in Windows-1251, the program's own encoding.
std::string ToStoreText(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(1251, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(1251, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

std::unique_ptr<ShellIntegration> MakeShellIntegration(StoreAccessor& store) {
  return std::make_unique<WindowsShellIntegration>(store, ToStoreText(ExecutablePath().native()));
}
#else
std::unique_ptr<ShellIntegration> MakeShellIntegration(StoreAccessor&) {
  return std::make_unique<FreedesktopShellIntegration>(ExecutablePath());
}
#endif

}  // namespace lirvane
