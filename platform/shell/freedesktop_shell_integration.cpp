#include "platform/shell/freedesktop_shell_integration.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/store/store_accessor.h"
#include "platform/glyphs.h"
#include "platform/freedesktop/desktop_entry.h"
#include "platform/freedesktop/xdg_folders.h"

namespace lirvane {

namespace {

const char kVerbsError[] = "Failed to set data for ''";
const char kAutorunError[] = "Failed to set data for 'Velkor Lirvane'";
const QByteArray kEntryGroup = "Desktop Entry";

QByteArray ReadWhole(const QString& file_name) {
  QFile file(file_name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Replaces the file as a whole or not at all; a file that already holds
// `content` is not touched. False when the folder or the file cannot be
// written.
bool WriteAtomically(const QString& file_name, const QByteArray& content) {
  QFileInfo info(file_name);
  if (info.isFile() && ReadWhole(file_name) == content) return true;
  if (!QDir().mkpath(info.absolutePath())) return false;
  QSaveFile file(file_name);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

// Whether an autostart entry starts anything: Hidden=true is how a desktop
// switches one off.
bool StartsAProgram(const QByteArray& entry) {
  if (ReadKeyFileValue(entry, kEntryGroup, "Hidden").value_or("") == "true") return false;
  return !ReadKeyFileValue(entry, kEntryGroup, "Exec").value_or("").isEmpty();
}

// The program an Exec value starts: its first word, unquoted.
QString ExecProgram(const QByteArray& exec) {
  const QString value = QString::fromUtf8(exec).trimmed();
  if (!value.startsWith('"')) return value.section(' ', 0, 0);
  QString program;
  for (qsizetype i = 1; i < value.size() && value[i] != '"'; ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    program += value[i];
  }
  return program;
}

QString PathToQString(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

}  // namespace

FreedesktopShellIntegration::FreedesktopShellIntegration(std::filesystem::path executable,
                                                         DatabaseTools tools)
    : executable_(std::move(executable)), tools_(tools) {}

QString FreedesktopShellIntegration::DataHome() { return XdgFolders::FromEnvironment().data_home; }
QString FreedesktopShellIntegration::ConfigHome() {
  return XdgFolders::FromEnvironment().config_home;
}

// Without a home folder the files would land below the root folder.
bool FreedesktopShellIntegration::HasHomeFolders() {
  return !DataHome().isEmpty() && !ConfigHome().isEmpty();
}

QString FreedesktopShellIntegration::DesktopEntryFile() {
  return DataHome() + QStringLiteral("/applications/") + QLatin1String(kDesktopFileName);
}
QString FreedesktopShellIntegration::MimePackageFile() {
  return DataHome() + QStringLiteral("/mime/packages/lirvane-att.xml");
}
QString FreedesktopShellIntegration::MimeAppsFile() {
  return ConfigHome() + QStringLiteral("/mimeapps.list");
}
QString FreedesktopShellIntegration::AutostartFile() {
  return ConfigHome() + QStringLiteral("/autostart/") + QLatin1String(kDesktopFileName);
}
QString FreedesktopShellIntegration::IconFile() {
  return DataHome() + QStringLiteral("/icons/hicolor/64x64/apps/") + QLatin1String(kApplicationId) +
         QStringLiteral(".png");
}
QString FreedesktopShellIntegration::LegacyDesktopEntryFile() {
  return DataHome() + QStringLiteral("/applications/") + QLatin1String(kLegacyDesktopFileName);
}
QString FreedesktopShellIntegration::LegacyAutostartFile() {
  return ConfigHome() + QStringLiteral("/autostart/") + QLatin1String(kLegacyDesktopFileName);
}

QString FreedesktopShellIntegration::Program() const { return PathToQString(executable_); }

QByteArray FreedesktopShellIntegration::DesktopEntry(bool with_att_type) const {
  QByteArray mime_types = "text/plain;text/html;";
  if (with_att_type) mime_types += QByteArray(kAttMimeType) + ';';
  // The installed entry's keys (resources/net.velkor.Lirvane.desktop), with
  // this copy's own path.
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         QByteArray(kDesktopName) +
         "\n"
         "GenericName=Cyrillic text recoder\n"
         "GenericName[ru]=Перекодировщик кириллицы\n"
         "Comment=Recode Russian text between Cyrillic code pages\n"
         "Comment[ru]=Перекодировка русского текста между кодовыми страницами\n"
         "TryExec=" +
         EscapeDesktopValue(Program()).toUtf8() +
         "\n"
         "Exec=" +
         ExecValue(Program(), QStringLiteral("%f")).toUtf8() +
         "\n"
         "Icon=" +
         QByteArray(kApplicationId) +
         "\n"
         "Terminal=false\n"
         "StartupWMClass=" +
         QByteArray(kWindowClass) +
         "\n"
         "Categories=Utility;TextTools;\n"
         "MimeType=" +
         mime_types + "\n";
}

QByteArray FreedesktopShellIntegration::AutostartEntry() const {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         QByteArray(kDesktopName) +
         "\n"
         "TryExec=" +
         EscapeDesktopValue(Program()).toUtf8() +
         "\n"
         "Exec=" +
         ExecValue(Program(), QStringLiteral("-fromautorun")).toUtf8() +
         "\n"
         "Icon=" +
         QByteArray(kApplicationId) +
         "\n"
         "Terminal=false\n";
}

QByteArray FreedesktopShellIntegration::MimePackage() {
  // Globs match without regard to case unless told otherwise; saying so
  // keeps "*.ATT" and "*.att" one type on every version of the database.
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         QByteArray(kAttMimeType) +
         "\">\n"
         "    <comment>ATT file</comment>\n"
         "    <glob pattern=\"*.att\" case-sensitive=\"false\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

void FreedesktopShellIntegration::RunTool(const QString& tool, const QString& folder) const {
  if (tools_ == DatabaseTools::kSkip) return;
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return;
  // Run directly, without a shell, so the folder name is never interpreted.
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, {folder});
  if (process.waitForStarted(5000) && !process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished(1000);
  }
}

// Earlier builds named their entries "lirvane.desktop". Left in place, that
// entry would list the program a second time beside the installed one; the
// autostart entry and the ".ATT" default move over to the new name.
void FreedesktopShellIntegration::MoveLegacyEntries() {
  QFile::remove(LegacyDesktopEntryFile());
  QFile::remove(DataHome() + QStringLiteral("/icons/hicolor/64x64/apps/lirvane.png"));

  const QString legacy_autostart = LegacyAutostartFile();
  if (QFileInfo::exists(legacy_autostart)) {
    if (!StartsAProgram(ReadWhole(legacy_autostart)) ||
        WriteAtomically(AutostartFile(), AutostartEntry()))
      QFile::remove(legacy_autostart);
  }

  const QString apps_file = MimeAppsFile();
  const QByteArray apps = ReadWhole(apps_file);
  if (ReadKeyFileValue(apps, "Default Applications", kAttMimeType) == kLegacyDesktopFileName)
    WriteAtomically(apps_file,
                    SetKeyFileValue(apps, "Default Applications", kAttMimeType, kDesktopFileName));
}

bool FreedesktopShellIntegration::InstalledEntryStartsThisCopy() const {
  // The first entry of that name along the data folders is the one menus show.
  for (const QString& folder : XdgFolders::FromEnvironment().data_dirs) {
    const QByteArray entry =
        ReadWhole(folder + QStringLiteral("/applications/") + QLatin1String(kDesktopFileName));
    if (entry.isEmpty()) continue;
    const QString program = ExecProgram(ReadKeyFileValue(entry, kEntryGroup, "Exec").value_or(""));
    if (program.isEmpty()) return false;
    const QString path = program.contains('/') ? program : QStandardPaths::findExecutable(program);
    const QString own = QFileInfo(Program()).canonicalFilePath();
    return !path.isEmpty() && !own.isEmpty() && QFileInfo(path).canonicalFilePath() == own;
  }
  return false;
}

void FreedesktopShellIntegration::WriteShellVerbs() {
  if (executable_.empty() || !HasHomeFolders()) return;
  MoveLegacyEntries();
  const bool with_att = QFileInfo::exists(MimePackageFile());
  const QString entry_file = DesktopEntryFile();
  if (!with_att && InstalledEntryStartsThisCopy()) {
    // The installed entry serves this copy: one of the user's own would
    // only stay behind as a dead menu entry once the package is removed.
    // One that an earlier start wrote for this copy goes.
    const QByteArray own = ReadWhole(entry_file);
    if (!own.isEmpty() &&
        ExecProgram(ReadKeyFileValue(own, kEntryGroup, "Exec").value_or("")) == Program() &&
        QFile::remove(entry_file))
      RunTool(QStringLiteral("update-desktop-database"), QFileInfo(entry_file).absolutePath());
    return;
  }
  const QByteArray entry = DesktopEntry(with_att);
  const bool changed = ReadWhole(entry_file) != entry;
  if (!WriteAtomically(entry_file, entry)) throw StoreError(kVerbsError);

  // The icon the entries name; a desktop without it shows a generic one,
  // so a failure here is not worth a message.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QByteArray png;
    {
      QPixmap pixmap = AppIcon().pixmap(64, 64);
      QBuffer buffer(&png);
      if (!pixmap.isNull() && buffer.open(QIODevice::WriteOnly)) pixmap.save(&buffer, "PNG");
    }
    if (!png.isEmpty()) WriteAtomically(IconFile(), png);
  }
  if (changed)
    RunTool(QStringLiteral("update-desktop-database"), QFileInfo(entry_file).absolutePath());
}

void FreedesktopShellIntegration::WriteAttAssociation() {
  if (executable_.empty() || !HasHomeFolders()) return;
  if (!WriteAtomically(MimePackageFile(), MimePackage())) throw StoreError(kVerbsError);
  RunTool(QStringLiteral("update-mime-database"), DataHome() + QStringLiteral("/mime"));

  // The desktop entry now also declares the type.
  const QString entry_file = DesktopEntryFile();
  if (!WriteAtomically(entry_file, DesktopEntry(true))) throw StoreError(kVerbsError);
  RunTool(QStringLiteral("update-desktop-database"), QFileInfo(entry_file).absolutePath());

  const QString apps_file = MimeAppsFile();
  if (QFileInfo(apps_file).exists() && !QFileInfo(apps_file).isFile())
    throw StoreError(kVerbsError);
  const QByteArray apps =
      SetKeyFileValue(ReadWhole(apps_file), "Default Applications", kAttMimeType, kDesktopFileName);
  if (!WriteAtomically(apps_file, apps)) throw StoreError(kVerbsError);
}

bool FreedesktopShellIntegration::AutorunEnabled() {
  return HasHomeFolders() && StartsAProgram(ReadWhole(AutostartFile()));
}

AutorunSwitch FreedesktopShellIntegration::SwitchAutorun(bool on) {
  if (!HasHomeFolders()) throw StoreError(kAutorunError);
  const QString file = AutostartFile();
  if (on) {
    if (executable_.empty() || !WriteAtomically(file, AutostartEntry()))
      throw StoreError(kAutorunError);
  } else if (QFileInfo::exists(file) || QFileInfo(file).isSymLink()) {
    // An entry that will not go would start the program behind an
    // unticked check mark.
    if (!QFile::remove(file)) throw StoreError(kAutorunError);
  }
  return AutorunSwitch::kSwitched;
}

}  // namespace lirvane
