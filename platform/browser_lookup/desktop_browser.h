// The desktop's default web browser on freedesktop systems, which keep no
// file-class keys: the handler of web addresses named in the mimeapps.list
// files, launched through the Exec line of its .desktop file.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/freedesktop/xdg_folders.h"

namespace lirvane {

// A program and its arguments, to be started without a shell.
struct DesktopLaunch {
  QString program;
  QStringList arguments;
};

// The mimeapps.list files in the order in which they count.
QStringList MimeAppsFiles(const XdgFolders& folders);

// The launch of the default browser for url; nullopt when none is set or
// its .desktop file cannot be found or has no usable Exec line.
std::optional<DesktopLaunch> FindDesktopBrowserLaunch(const XdgFolders& folders,
                                                      const QString& url);

// Splits a .desktop Exec value into a launch for url. The address takes the
// place of the first %u, %U, %f or %F (quoted or not) and is appended when
// there is none; the other field codes are dropped and %% is one %.
// nullopt for an empty or badly quoted value.
std::optional<DesktopLaunch> ParseDesktopExec(const QString& exec, const QString& url);

}  // namespace lirvane
