#include "recode/recode_kernels.h"

#include <cstring>

namespace lirvane {

void RecodeKernelScalar(const HighHalfTable& table, const uint8_t* in, uint8_t* out, size_t size) {
  // On mixed text the test for b < 0x80 mispredicts often; past a few dozen
  // bytes a full 256-entry table, built here, is worth its setup.
  if (size < 64) {
    for (size_t i = 0; i < size; ++i) {
      const uint8_t b = in[i];
      out[i] = b < 0x80 ? b : table.high[b - 0x80];
    }
    return;
  }
  uint8_t full[256];
  for (int i = 0; i < 128; ++i) full[i] = static_cast<uint8_t>(i);
  std::memcpy(full + 128, table.high.data(), 128);
  for (size_t i = 0; i < size; ++i) out[i] = full[in[i]];
}

}  // namespace lirvane
