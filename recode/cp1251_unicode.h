// Windows-1251 and Unicode: the one mapping between bytes and characters.
//
// Every byte has its own code point, 0x98 (which Windows-1251 leaves
// undefined) included: it maps to U+0098. So bytes -> characters -> bytes
// gives back every byte value.
#pragma once

#include <cstdint>

namespace lirvane {

char32_t Cp1251ToUnicode(uint8_t byte);

// The byte of a character, or -1 when Windows-1251 has no byte for it.
int UnicodeToCp1251(char32_t c);

}  // namespace lirvane
