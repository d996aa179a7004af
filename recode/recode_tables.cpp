#include "recode/recode_tables.h"

#include "recode/codepage.h"

namespace lirvane {
namespace {

// A table that leaves every byte as it is; each recoder starts from it.
constexpr HighHalfTable Identity() {
  HighHalfTable t{};
  for (int i = 0; i < 128; ++i) t.high[i] = static_cast<uint8_t>(0x80 + i);
  return t;
}

constexpr void Set(HighHalfTable& t, int from, int to) {
  t.high[from - 0x80] = static_cast<uint8_t>(to);
}

// KOI8-R places the small letters at 0xC0-0xDF (capitals 0x20 higher) in
// this order, given as indices into the Russian alphabet а..я, which is also
// the Windows-1251 order at 0xE0-0xFF.
constexpr int kKoiOrder[32] = {30, 0,  1,  22, 4,  5,  20, 3, 21, 8,  9, 10, 11, 12, 13, 14,
                               15, 31, 16, 17, 18, 19, 6,  2, 28, 27, 7, 24, 29, 25, 23, 26};

constexpr HighHalfTable MakeKoiToWin() {
  HighHalfTable t = Identity();
  for (int i = 0; i < 32; ++i) {
    Set(t, 0xC0 + i, 0xE0 + kKoiOrder[i]);
    Set(t, 0xE0 + i, 0xC0 + kKoiOrder[i]);
  }
  Set(t, 0xA3, 0xB8);
  Set(t, 0xB3, 0xA8);
  return t;
}

constexpr HighHalfTable MakeWinToKoi() {
  HighHalfTable t = Identity();
  for (int i = 0; i < 32; ++i) {
    Set(t, 0xE0 + kKoiOrder[i], 0xC0 + i);
    Set(t, 0xC0 + kKoiOrder[i], 0xE0 + i);
  }
  Set(t, 0xB8, 0xA3);
  Set(t, 0xA8, 0xB3);
  return t;
}

constexpr HighHalfTable MakeAltToWin() {
  HighHalfTable t = Identity();
  for (int b = 0x80; b <= 0xAF; ++b) Set(t, b, b + 0x40);
  for (int b = 0xE0; b <= 0xEF; ++b) Set(t, b, b + 0x10);
  Set(t, 0xF0, 0xA8);
  Set(t, 0xF1, 0xB8);
  Set(t, 0xF8, 0xB0);  // degree sign
  Set(t, 0xFC, 0xB9);  // numero sign
  Set(t, 0xFF, 0xA0);  // no-break space
  return t;
}

// The three symbols of AltToWin are deliberately not converted back.
constexpr HighHalfTable MakeWinToAlt() {
  HighHalfTable t = Identity();
  for (int b = 0xC0; b <= 0xEF; ++b) Set(t, b, b - 0x40);
  for (int b = 0xF0; b <= 0xFF; ++b) Set(t, b, b - 0x10);
  Set(t, 0xA8, 0xF0);
  Set(t, 0xB8, 0xF1);
  return t;
}

constexpr HighHalfTable MakeIsoToWin() {
  HighHalfTable t = Identity();
  for (int b = 0xB0; b <= 0xEF; ++b) Set(t, b, b + 0x10);
  Set(t, 0xA1, 0xA8);
  Set(t, 0xF1, 0xB8);
  return t;
}

constexpr HighHalfTable MakeWinToIso() {
  HighHalfTable t = Identity();
  for (int b = 0xC0; b <= 0xFF; ++b) Set(t, b, b - 0x10);
  Set(t, 0xA8, 0xA1);
  Set(t, 0xB8, 0xF1);
  return t;
}

// Macintosh Cyrillic holds а-ю at the Windows-1251 places; its я sits at
// 0xDF, and 0xFF (its currency sign) is left alone, so it too reads as я.
constexpr HighHalfTable MakeMacToWin() {
  HighHalfTable t = Identity();
  for (int b = 0x80; b <= 0x9F; ++b) Set(t, b, b + 0x40);
  Set(t, 0xDD, 0xA8);
  Set(t, 0xDE, 0xB8);
  Set(t, 0xDF, 0xFF);
  return t;
}

constexpr HighHalfTable MakeWinToMac() {
  HighHalfTable t = Identity();
  for (int b = 0xC0; b <= 0xDF; ++b) Set(t, b, b - 0x40);
  Set(t, 0xA8, 0xDD);
  Set(t, 0xB8, 0xDE);
  Set(t, 0xFF, 0xDF);
  return t;
}

constexpr HighHalfTable kKoiToWin = MakeKoiToWin();
constexpr HighHalfTable kWinToKoi = MakeWinToKoi();
constexpr HighHalfTable kAltToWin = MakeAltToWin();
constexpr HighHalfTable kWinToAlt = MakeWinToAlt();
constexpr HighHalfTable kIsoToWin = MakeIsoToWin();
constexpr HighHalfTable kWinToIso = MakeWinToIso();
constexpr HighHalfTable kMacToWin = MakeMacToWin();
constexpr HighHalfTable kWinToMac = MakeWinToMac();

}  // namespace

const HighHalfTable* TableForCode(int32_t code) {
  switch (code) {
    case kCodeKoi8:
      return &kKoiToWin;
    case -kCodeKoi8:
      return &kWinToKoi;
    case kCodeAlt866:
      return &kAltToWin;
    case -kCodeAlt866:
      return &kWinToAlt;
    case kCodeIso8859_5:
      return &kIsoToWin;
    case -kCodeIso8859_5:
      return &kWinToIso;
    case kCodeMac:
      return &kMacToWin;
    case -kCodeMac:
      return &kWinToMac;
    default:
      return nullptr;
  }
}

}  // namespace lirvane
