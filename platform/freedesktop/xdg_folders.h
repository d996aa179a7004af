// The base folders of the XDG base-directory rules, where freedesktop
// desktops keep settings, desktop entries and MIME data.
#pragma once

#include <QString>
#include <QStringList>

namespace lirvane {

struct XdgFolders {
  QString config_home;      // $XDG_CONFIG_HOME, else ~/.config
  QStringList config_dirs;  // $XDG_CONFIG_DIRS, else /etc/xdg
  QString data_home;        // $XDG_DATA_HOME, else ~/.local/share
  QStringList data_dirs;    // $XDG_DATA_DIRS, else /usr/local/share, /usr/share
  QStringList desktops;     // $XDG_CURRENT_DESKTOP, lower case

  static XdgFolders FromEnvironment();
};

}  // namespace lirvane
