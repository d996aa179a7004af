#include "platform/freedesktop/xdg_folders.h"

#include <QDir>

#include "base/home_folder.h"

namespace lirvane {
namespace {

// Only absolute paths count; relative ones are ignored, as the rules ask.
QStringList PathList(const char* variable, const QStringList& otherwise) {
  QStringList list;
  for (const QString& part : qEnvironmentVariable(variable).split(':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(part)) list << QDir::cleanPath(part);
  return list.isEmpty() ? otherwise : list;
}

QString ToQString(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.generic_u16string());
}

}  // namespace

XdgFolders XdgFolders::FromEnvironment() {
  XdgFolders f;
  f.config_home = ToQString(ConfigHomeFolder());
  f.config_dirs = PathList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
  f.data_home = ToQString(DataHomeFolder());
  f.data_dirs =
      PathList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
  for (const QString& d :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts))
    f.desktops << d.toLower();
  return f;
}

}  // namespace lirvane
