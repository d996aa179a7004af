#include "platform/browser_lookup/desktop_browser.h"

#include "platform/freedesktop/desktop_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace lirvane {
namespace {

QByteArray ReadWhole(const QString& file_name) {
  QFile file(file_name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// One key of one [group] of a desktop-entry style file; empty if absent.
QString ReadValue(const QString& file_name, const char* group, const QString& key) {
  return QString::fromUtf8(
      ReadKeyFileValue(ReadWhole(file_name), group, key.toUtf8()).value_or(QByteArray()));
}

// The general escapes of desktop-entry string values.
QString UnescapeString(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == 's')
      out += ' ';
    else if (next == 'n')
      out += '\n';
    else if (next == 't')
      out += '\t';
    else if (next == 'r')
      out += '\r';
    else
      out += next;  // "\\" and, for the Exec quoting below, "\"" and the like
    if (next == '"' || next == '`' || next == '$') out.insert(out.size() - 1, '\\');
  }
  return out;
}

struct Token {
  QString text;
  bool quoted = false;
};

std::optional<QList<Token>> SplitExec(const QString& exec) {
  QList<Token> tokens;
  Token current;
  bool in_token = false;
  bool in_quotes = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (in_quotes) {
      if (c == '\\' && i + 1 < exec.size()) {
        current.text += exec[++i];
      } else if (c == '"') {
        in_quotes = false;
      } else {
        current.text += c;
      }
    } else if (c == '"') {
      in_quotes = true;
      in_token = true;
      current.quoted = true;
    } else if (c == ' ' || c == '\t') {
      if (in_token) tokens << current;
      current = Token();
      in_token = false;
    } else {
      current.text += c;
      in_token = true;
    }
  }
  if (in_quotes) return std::nullopt;
  if (in_token) tokens << current;
  return tokens;
}

bool IsUrlCode(QChar c) { return c == 'u' || c == 'U' || c == 'f' || c == 'F'; }

std::optional<DesktopLaunch> LaunchFromDesktopFile(const QString& file_name, const QString& url) {
  if (ReadValue(file_name, "Desktop Entry", QStringLiteral("Hidden")) == QLatin1String("true"))
    return std::nullopt;
  const QString exec = ReadValue(file_name, "Desktop Entry", QStringLiteral("Exec"));
  if (exec.isEmpty()) return std::nullopt;
  return ParseDesktopExec(exec, url);
}

// Where a desktop file id lives: applications/<id>, or a subfolder for
// each "-" of the id ("kde-browser.desktop" in applications/kde/).
QString FindDesktopFile(const XdgFolders& folders, const QString& id) {
  if (id.isEmpty() || id.contains('/') || !id.endsWith(QLatin1String(".desktop"))) return {};
  QStringList bases{folders.data_home};
  bases << folders.data_dirs;
  for (const QString& base : bases) {
    const QString dir = base + QStringLiteral("/applications/");
    if (QFileInfo(dir + id).isFile()) return dir + id;
    for (qsizetype dash = id.indexOf('-'); dash > 0; dash = id.indexOf('-', dash + 1)) {
      QString nested = dir + id.left(dash) + '/' + id.mid(dash + 1);
      if (QFileInfo(nested).isFile()) return nested;
    }
  }
  return {};
}

}  // namespace

QStringList MimeAppsFiles(const XdgFolders& folders) {
  QStringList files;
  auto add = [&](const QString& dir) {
    for (const QString& desktop : folders.desktops) files << dir + '/' + desktop + "-mimeapps.list";
    files << dir + QStringLiteral("/mimeapps.list");
  };
  add(folders.config_home);
  for (const QString& dir : folders.config_dirs) add(dir);
  add(folders.data_home + QStringLiteral("/applications"));
  for (const QString& dir : folders.data_dirs) add(dir + QStringLiteral("/applications"));
  // The older name, still the only one on some systems.
  for (const QString& dir : folders.data_dirs)
    files << dir + QStringLiteral("/applications/defaults.list");
  return files;
}

std::optional<DesktopLaunch> FindDesktopBrowserLaunch(const XdgFolders& folders,
                                                      const QString& url) {
  QStringList types;
  const QString scheme = QUrl(url).scheme().toLower();
  if (!scheme.isEmpty()) types << QStringLiteral("x-scheme-handler/") + scheme;
  for (const char* type : {"x-scheme-handler/http", "text/html"})
    if (!types.contains(QLatin1String(type))) types << QLatin1String(type);

  const QStringList files = MimeAppsFiles(folders);
  for (const QString& type : types) {
    for (const QString& list : files) {
      const QString defaults = ReadValue(list, "Default Applications", type);
      for (const QString& id : defaults.split(';', Qt::SkipEmptyParts)) {
        const QString desktop_file = FindDesktopFile(folders, id.trimmed());
        if (desktop_file.isEmpty()) continue;
        if (auto launch = LaunchFromDesktopFile(desktop_file, url)) return launch;
      }
    }
  }
  return std::nullopt;
}

std::optional<DesktopLaunch> ParseDesktopExec(const QString& exec, const QString& url) {
  const std::optional<QList<Token>> tokens = SplitExec(UnescapeString(exec));
  if (!tokens || tokens->isEmpty()) return std::nullopt;
  // The program is named plainly; a field code there would let the
  // address choose what runs.
  const QString& program = tokens->front().text;
  if (program.isEmpty() || program.contains('%')) return std::nullopt;
  QStringList words{program};
  bool url_placed = false;
  for (const Token& token : tokens->mid(1)) {
    QString word;
    bool dropped_code = false;
    for (qsizetype i = 0; i < token.text.size(); ++i) {
      const QChar c = token.text[i];
      if (c != '%' || i + 1 == token.text.size()) {
        word += c;
        continue;
      }
      const QChar code = token.text[++i];
      if (code == '%') {
        word += '%';
      } else if (IsUrlCode(code) && !url_placed) {
        word += url;
        url_placed = true;
      } else {
        dropped_code = true;  // %i, %c, %k, deprecated codes, a second address
      }
    }
    if (word.isEmpty() && dropped_code) continue;
    words << word;
  }
  if (!url_placed) words << url;
  DesktopLaunch launch;
  launch.program = words.takeFirst();
  launch.arguments = words;
  return launch;
}

}  // namespace lirvane
