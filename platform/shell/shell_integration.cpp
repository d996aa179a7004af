#include "platform/shell/shell_integration.h"

#include "base/executable_path.h"

#ifdef _WIN32
#include <string>

#include "platform/shell/windows_shell_integration.h"
#include "recode/cp1251_unicode.h"
#else
#include "platform/shell/freedesktop_shell_integration.h"
#endif

namespace lirvane {

#ifdef _WIN32
namespace {

// The store keeps its texts in Windows-1251, the program's own encoding;
// a letter it lacks becomes '?'.
std::string ToStoreText(const std::wstring& wide) {
  std::string text(wide.size(), '\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    const int byte = UnicodeToCp1251(static_cast<char32_t>(wide[i]));
    text[i] = byte < 0 ? '?' : static_cast<char>(byte);
  }
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
