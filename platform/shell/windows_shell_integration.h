// Shell integration as registry values, written through the store accessor
// (so it runs against any store back end, the SQLite one included).
#pragma once

#include <string>
#include <string_view>

#include "platform/shell/shell_integration.h"

namespace lirvane {

inline constexpr std::string_view kTxtVerbKey = "\\txtfile\\shell\\Lirvane\\command";
inline constexpr std::string_view kHtmlVerbKey = "\\htmlfile\\shell\\Lirvane\\command";
inline constexpr std::string_view kAttExtensionKey = "\\.ATT";
inline constexpr std::string_view kAttClass = "ATTfile";
inline constexpr std::string_view kAttOpenKey = "\\ATTfile\\shell\\open\\command";
inline constexpr std::string_view kRunKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kAutorunValue = "Velkor Lirvane";

// The executable as it starts a command: quoted when it holds a blank, so
// that the file name or "-fromautorun" stays the first argument.
std::string WindowsCommandPath(std::string_view executable);

class WindowsShellIntegration final : public ShellIntegration {
 public:
  // `executable` is the full path in the store's encoding (Windows-1251).
  WindowsShellIntegration(StoreAccessor& store, std::string executable);

  void WriteShellVerbs() override;
  void WriteAttAssociation() override;
  bool AutorunEnabled() override;
  AutorunSwitch SwitchAutorun(bool on) override;

  // path + " \"%1\"" and path + " -fromautorun".
  std::string OpenCommand() const;
  std::string AutorunCommand() const;

 private:
  void WriteUnnamed(std::string_view key, std::string_view value);

  StoreAccessor& store_;
  std::string executable_;
};

}  // namespace lirvane
