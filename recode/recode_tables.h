// The byte tables behind the recoders.
#pragma once

#include <array>
#include <cstdint>

namespace lirvane {

// Since bytes below 0x80 never change, a recoder is fully described by what
// it does to the 128 bytes 0x80-0xFF: high[b - 0x80] is the image of b.
struct HighHalfTable {
  std::array<uint8_t, 128> high;
};

// The table of a code, or nullptr when the code copies the text.
const HighHalfTable* TableForCode(int32_t code);

}  // namespace lirvane
