// Recoding between Windows-1251 and the other Cyrillic code pages.
//
// The eight 8-bit recoders map each byte through a fixed table: the output
// has exactly the length of the input, bytes 0x00-0x7F never change, and
// only the 66 Russian letters (plus three DOS 866 symbols one way) move.
// UTF-8 (codes 65001 and -65001, utf8_recode.h) is the one code page whose
// output may differ in length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lirvane {

// Applies one code page code (see codepage.h). Codes not naming a recoder
// return an unchanged copy. Never fails.
std::string Recode(std::string_view text, int32_t code);

// True for the codes whose output may differ in length from the input.
bool ChangesLength(int32_t code);

// The same into a caller's buffer of text.size() bytes, which may be the
// text itself; lets streaming callers reuse one buffer. Only for codes that
// keep the length (see ChangesLength).
void RecodeTo(std::string_view text, int32_t code, char* out);

// Applies one code to `text` itself: in place where the length stays.
void RecodeInPlace(std::string& text, int32_t code);

std::string KoiToWin(std::string_view text);  // code 8
std::string WinToKoi(std::string_view text);  // code -8
std::string AltToWin(std::string_view text);  // code 866
std::string WinToAlt(std::string_view text);  // code -866
std::string MacToWin(std::string_view text);  // code 111
std::string WinToMac(std::string_view text);  // code -111

}  // namespace lirvane
