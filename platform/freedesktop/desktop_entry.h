// Small pieces of the freedesktop.org file formats: the Exec quoting of the
// Desktop Entry Specification and line-by-line editing of the key files
// (desktop entries, mimeapps.list) that keeps everything else untouched.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace lirvane {

// One argument of an Exec key, before the string-value escapes: quoted
// when it holds a reserved character, with '"', '`', '$' and '\' escaped
// inside the quotes, and '%' doubled.
QString QuoteExecArgument(const QString& argument);

// The escapes of a string value: '\' as "\\", newline, tab and carriage
// return as "\n", "\t", "\r".
QString EscapeDesktopValue(const QString& value);

// The complete Exec value: the quoted program, a blank, `arguments` (which
// are written as they are, field codes included), value-escaped.
QString ExecValue(const QString& program, const QString& arguments);

// The value of `key` in `[group]`, trimmed, or nothing when absent. Keys
// compare exactly; "Exec[de]" is another key than "Exec".
std::optional<QByteArray> ReadKeyFileValue(const QByteArray& content, const QByteArray& group,
                                           const QByteArray& key);

// `content` with `key=value` in `[group]`: an existing line of that key is
// replaced, else the line goes after the group's last entry; a missing
// group is appended at the end. Every other line stays byte for byte.
QByteArray SetKeyFileValue(const QByteArray& content, const QByteArray& group,
                           const QByteArray& key, const QByteArray& value);

}  // namespace lirvane
