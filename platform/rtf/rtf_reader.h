// Reading the text of an RTF document into a pane, without its formatting.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lirvane {

// The body text of `document` as Windows-1251 bytes, lines joined by CR LF;
// nullopt when `document` is not rich text.
//
// Rich text is a document that starts, after an optional UTF-8 byte order
// mark and white space, with "{\rtf" not followed by a letter. Anything
// after that header is read as well as it goes: a document cut short
// (closing braces missing) gives the text read up to its end, since a
// truncated file's text is still worth having; but a document cut short
// before any of its body text (inside its header) is not rich text.
// Whatever follows the closing brace of the outermost group is ignored.
//
// \par, \sect, \page, \line and \row break the line; \tab and \cell give a
// TAB. A paragraph mark (\par, \sect, \page) that ends the document ends
// its last paragraph and adds no empty line, so "{\rtf1 a\par}" reads as
// "a" and "{\rtf1 a\par\par}" as "a\r\n". Text in the font table, style
// sheet, document information, pictures, objects, field instructions,
// headers, footers, footnotes, annotations and every {\* } group is left
// out. \'hh bytes are read in the code page of the current font's
// \fcharset (or \cpg), else in the document's \ansicpg (1252 if absent).
// Characters Windows-1251 cannot hold become '?'.
//
// Takes time linear in the document's size and copes with any bytes,
// including groups nested to any depth.
std::optional<std::string> ReadRtfText(std::string_view document);

// The same text as UTF-8, lines joined by CR LF, with every character kept:
// \uN characters (a surrogate pair as one) and those of any code page.
std::optional<std::string> ReadRtfTextUtf8(std::string_view document);

}  // namespace lirvane
