#include "recode/cp1251_unicode.h"

#include <array>

namespace lirvane {
namespace {

// Code points of the bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// Reverse lookup over the Basic Multilingual Plane; -1 for no byte.
struct Reverse {
  std::array<int16_t, 0x10000> byte_of;
  constexpr Reverse() : byte_of() {
    for (auto& b : byte_of) b = -1;
    for (int b = 0; b < 0x80; ++b) byte_of[b] = static_cast<int16_t>(b);
    for (int i = 0; i < 64; ++i) byte_of[kHigh[i]] = static_cast<int16_t>(0x80 + i);
    for (int i = 0; i < 64; ++i) byte_of[0x410 + i] = static_cast<int16_t>(0xC0 + i);
  }
};

const Reverse& ReverseTable() {
  static const Reverse table;
  return table;
}

}  // namespace

char32_t Cp1251ToUnicode(uint8_t byte) {
  if (byte < 0x80) return byte;
  if (byte < 0xC0) return kHigh[byte - 0x80];
  return 0x410 + (byte - 0xC0);
}

int UnicodeToCp1251(char32_t c) {
  if (c >= 0x10000) return -1;
  return ReverseTable().byte_of[c];
}

}  // namespace lirvane
