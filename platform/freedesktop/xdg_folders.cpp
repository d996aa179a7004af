#include "platform/freedesktop/xdg_folders.h"

#include <QDir>

namespace lirvane {
namespace {

// Only absolute paths count; relative ones are ignored, as the rules ask.
QStringList PathList(const char* variable, const QStringList& otherwise) {
  QStringList list;
  for (const QString& part : qEnvironmentVariable(variable).split(':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(part)) list << QDir::cleanPath(part);
  return list.isEmpty() ? otherwise : list;
}

QString HomeFolder(const char* variable, const QString& below_home) {
  const QString value = qEnvironmentVariable(variable);
  return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QDir::homePath() + below_home;
}

}  // namespace

XdgFolders XdgFolders::FromEnvironment() {
  XdgFolders f;
  f.config_home = HomeFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
  f.config_dirs = PathList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
  f.data_home = HomeFolder("XDG_DATA_HOME", QStringLiteral("/.local/share"));
  f.data_dirs = PathList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
  for (const QString& d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts))
    f.desktops << d.toLower();
  return f;
}

}  // namespace lirvane
