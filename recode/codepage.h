// Code page codes: the signed integers that name one recoding step.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace lirvane {

// A positive code converts from the named code page into Windows-1251, the
// negative of the same number converts from Windows-1251 into it. 1251 and
// every other value copy the text unchanged.
inline constexpr int32_t kCodeKoi8 = 8;
inline constexpr int32_t kCodeAlt866 = 866;
inline constexpr int32_t kCodeIso8859_5 = 595;
inline constexpr int32_t kCodeMac = 111;
inline constexpr int32_t kCodeWin1251 = 1251;
inline constexpr int32_t kCodeUtf8 = 65001;

struct CodePage {
  int32_t code;              // the positive code
  std::string_view caption;  // as stored in a scheme and shown in the editor
};

// The code pages the scheme editor offers, in the editor's menu order.
inline constexpr std::array<CodePage, 6> kCodePages{{
    {kCodeWin1251, "Win-1251"},
    {kCodeKoi8, "KOI-8-R"},
    {kCodeAlt866, "Alt-866"},
    {kCodeMac, "Macintosh"},
    {kCodeIso8859_5, "ISO8859-5"},
    {kCodeUtf8, "UTF-8"},
}};

// Caption of the code page a code converts from or into ("KOI-8-R" for both
// 8 and -8); empty for codes that name no code page.
constexpr std::string_view CodePageCaption(int32_t code) {
  const int32_t positive = code < 0 ? -code : code;
  for (const CodePage& page : kCodePages)
    if (page.code == positive) return page.caption;
  return {};
}

}  // namespace lirvane
