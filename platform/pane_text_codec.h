// Between a pane's bytes and the characters a Qt text document holds.
//
// Bytes are Windows-1251 and map one to one onto characters (see
// recode/cp1251_unicode.h), so every byte value survives a trip into a pane
// and out again. Line breaks follow recode/line_breaks.h: CR LF, a lone CR
// and a lone LF all break the line, and a pane gives its lines back joined
// by CR LF. Characters without a Windows-1251 byte come out as "?".
#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace lirvane {

// Characters for a document, each line break as '\n'.
QString BytesToPaneText(std::string_view bytes);

// Bytes of a document's text; CR LF, CR, LF, U+2029 and U+2028 each end a
// line.
std::string PaneTextToBytes(QStringView text);

}  // namespace lirvane
