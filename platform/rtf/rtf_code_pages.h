// The 8-bit code pages an RTF document may write its \'hh bytes in.
//
// The program keeps tables only for the code pages Russian documents meet in
// practice: Windows-1251 itself, Western 1252 (the RTF default) and Central
// European 1250. Bytes of any other code page read as U+FFFD.
#pragma once

#include <cstdint>

namespace lirvane {

inline constexpr int kDocumentCodePage = 0;  // "whatever \ansicpg says"
inline constexpr int kSymbolCodePage = 42;   // glyph numbers, not letters

// The code page of an RTF \fcharset value: 204 -> 1251, 0 -> 1252 and so on.
// DEFAULT_CHARSET (1) and unknown values give kDocumentCodePage.
int CodePageOfCharset(int charset);

// One byte of `code_page` as a Unicode code point. Bytes below 0x80 are
// ASCII in every code page; high bytes of code pages without a table, and
// of the symbol code page, are U+FFFD. Bytes a code page leaves undefined
// keep their own number as code point, as Windows does.
char32_t DecodeCodePageByte(int code_page, uint8_t byte);

}  // namespace lirvane
