// Shell integration on freedesktop.org desktops (Linux, the BSDs):
//  - the verb: a desktop entry named after the application id in
//    $XDG_DATA_HOME/applications that offers the program for text and HTML
//    files (it stands in for the installed entry of the same name, and is
//    not written while that entry starts this copy and no ".ATT" type needs
//    adding to it);
//  - the ".ATT" association: a MIME package defining application/x-lirvane-att
//    for "*.att" in any letter case, the type added to the desktop entry,
//    and the program made its default in $XDG_CONFIG_HOME/mimeapps.list;
//  - autorun: an autostart entry of the same name in $XDG_CONFIG_HOME/autostart.
// Every entry written carries TryExec, so that menus drop it once the
// program is gone. Files are written atomically and left alone when
// already up to date.
// The folders are read from the environment at each call.
#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

#include "platform/freedesktop/application_id.h"
#include "platform/shell/shell_integration.h"

namespace lirvane {

// The name earlier builds gave their desktop and autostart entries.
inline constexpr char kLegacyDesktopFileName[] = "lirvane.desktop";
inline constexpr char kAttMimeType[] = "application/x-lirvane-att";

class FreedesktopShellIntegration final : public ShellIntegration {
 public:
  // Whether update-mime-database and update-desktop-database are run after
  // the files change (each only when installed; their failure is ignored).
  enum class DatabaseTools { kRun, kSkip };

  explicit FreedesktopShellIntegration(std::filesystem::path executable,
                                       DatabaseTools tools = DatabaseTools::kRun);

  void WriteShellVerbs() override;
  void WriteAttAssociation() override;
  bool AutorunEnabled() override;
  // Never kRunKeyUnavailable: the autostart folder is made when missing, and
  // one that cannot be made or written is a failed write.
  AutorunSwitch SwitchAutorun(bool on) override;

  // $XDG_DATA_HOME and $XDG_CONFIG_HOME, falling back to ~/.local/share and
  // ~/.config when unset, empty or not absolute (base/home_folder.h); empty
  // when there is no home folder, and then nothing is written.
  static QString DataHome();
  static QString ConfigHome();
  static bool HasHomeFolders();

  static QString DesktopEntryFile();
  static QString MimePackageFile();
  static QString MimeAppsFile();
  static QString AutostartFile();
  static QString IconFile();
  static QString LegacyDesktopEntryFile();
  static QString LegacyAutostartFile();

  // The file contents this program writes.
  QByteArray DesktopEntry(bool with_att_type) const;
  QByteArray AutostartEntry() const;
  static QByteArray MimePackage();

  // Whether an installed desktop entry (along $XDG_DATA_DIRS) starts this
  // very executable, so that the menus need no entry of the user's own.
  bool InstalledEntryStartsThisCopy() const;

 private:
  QString Program() const;
  void MoveLegacyEntries();
  void RunTool(const QString& tool, const QString& folder) const;

  std::filesystem::path executable_;
  DatabaseTools tools_;
};

}  // namespace lirvane
