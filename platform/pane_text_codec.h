// Between a pane's bytes and the characters a Qt text document holds.
//
// Bytes are Windows-1251 and map one to one onto characters (see
// recode/cp1251_unicode.h), so every byte value survives a trip into a pane
// and out again. Line breaks follow recode/line_breaks.h: CR LF, a lone CR
// and a lone LF all break the line, and a pane gives its lines back joined
// by CR LF. Characters without a Windows-1251 byte come out as "?".
//
// A pane holds any character, though: its text also goes out and comes in
// whole as UTF-8, with the same line breaks.
#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace lirvane {

// Characters for a document, each line break as '\n'.
QString BytesToPaneText(std::string_view bytes);

// Bytes of a document's text; CR LF, CR, LF, U+2029 and U+2028 each end a
// line. Each character without a byte is one "?".
std::string PaneTextToBytes(QStringView text);
// The same; `exact` says whether the bytes give back these very characters
// (no "?" stands for a character, no U+2028 became a line break).
std::string PaneTextToBytes(QStringView text, bool& exact);

// Characters for a document from UTF-8, each line break as '\n'; a
// malformed sequence becomes U+FFFD.
QString Utf8ToPaneText(std::string_view utf8);

// The UTF-8 form of a document's text, lines joined by CR LF. CR LF, CR,
// LF and U+2029 each end a line; every other character is kept, U+2028
// included, so a UTF-8 text comes back as it went in.
std::string PaneTextToUtf8(QStringView text);

// The same characters with each line break (CR LF, CR, LF, U+2029) as '\n',
// as a document takes them.
QString WithPaneLineBreaks(QString text);

}  // namespace lirvane
