#include "platform/freedesktop/desktop_entry.h"

#include <QList>

namespace lirvane {

namespace {

bool IsReservedInExec(QChar c) {
  static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#`()");
  return kReserved.contains(c);
}

// The group a line opens ("[Desktop Entry]" -> "Desktop Entry"), if any.
std::optional<QByteArray> GroupOf(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  if (trimmed.size() >= 2 && trimmed.startsWith('[') && trimmed.endsWith(']'))
    return trimmed.mid(1, trimmed.size() - 2);
  return std::nullopt;
}

// The key of an entry line, or nothing for comments and blank lines.
std::optional<QByteArray> KeyOf(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith('#')) return std::nullopt;
  const qsizetype equals = trimmed.indexOf('=');
  if (equals <= 0) return std::nullopt;
  return trimmed.left(equals).trimmed();
}

QList<QByteArray> SplitLines(const QByteArray& content) {
  QList<QByteArray> lines = content.split('\n');
  // A final newline leaves an empty piece that is not a line.
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

QString QuoteExecArgument(const QString& argument) {
  bool needs_quotes = argument.isEmpty();
  for (QChar c : argument) needs_quotes = needs_quotes || IsReservedInExec(c);
  QString out;
  if (needs_quotes) out += QLatin1Char('"');
  for (QChar c : argument) {
    if (c == QLatin1Char('%')) {
      out += QStringLiteral("%%");
      continue;
    }
    if (needs_quotes && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                         c == QLatin1Char('\\')))
      out += QLatin1Char('\\');
    out += c;
  }
  if (needs_quotes) out += QLatin1Char('"');
  return out;
}

QString EscapeDesktopValue(const QString& value) {
  QString out;
  for (QChar c : value) {
    switch (c.unicode()) {
      case '\\':
        out += QStringLiteral("\\\\");
        break;
      case '\n':
        out += QStringLiteral("\\n");
        break;
      case '\t':
        out += QStringLiteral("\\t");
        break;
      case '\r':
        out += QStringLiteral("\\r");
        break;
      default:
        out += c;
    }
  }
  return out;
}

QString ExecValue(const QString& program, const QString& arguments) {
  return EscapeDesktopValue(QuoteExecArgument(program) + QLatin1Char(' ') + arguments);
}

std::optional<QByteArray> ReadKeyFileValue(const QByteArray& content, const QByteArray& group,
                                           const QByteArray& key) {
  bool in_group = false;
  for (const QByteArray& line : SplitLines(content)) {
    if (auto g = GroupOf(line)) {
      in_group = (*g == group);
      continue;
    }
    if (!in_group) continue;
    if (auto k = KeyOf(line); k && *k == key) {
      const QByteArray trimmed = line.trimmed();
      return trimmed.mid(trimmed.indexOf('=') + 1).trimmed();
    }
  }
  return std::nullopt;
}

QByteArray SetKeyFileValue(const QByteArray& content, const QByteArray& group,
                           const QByteArray& key, const QByteArray& value) {
  QList<QByteArray> lines = SplitLines(content);
  const QByteArray entry = key + '=' + value;
  // Keep a file's CR LF line ends on the line we write.
  const bool crlf = !lines.isEmpty() && lines.front().endsWith('\r');
  const QByteArray new_line = crlf ? entry + '\r' : entry;

  qsizetype group_start = -1;  // the group's header line
  qsizetype last_entry = -1;   // its last non-blank line
  bool in_group = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (auto g = GroupOf(lines[i])) {
      in_group = (*g == group);
      if (in_group && group_start < 0) {
        group_start = i;
        last_entry = i;
      }
      continue;
    }
    if (!in_group) continue;
    if (auto k = KeyOf(lines[i]); k && *k == key) {
      lines[i] = new_line;
      return lines.join('\n') + '\n';
    }
    if (!lines[i].trimmed().isEmpty()) last_entry = i;
  }
  if (group_start >= 0) {
    lines.insert(last_entry + 1, new_line);
  } else {
    if (!lines.isEmpty() && !lines.back().trimmed().isEmpty()) lines.append(crlf ? "\r" : "");
    lines.append('[' + group + ']' + (crlf ? "\r" : ""));
    lines.append(new_line);
  }
  return lines.join('\n') + '\n';
}

}  // namespace lirvane
