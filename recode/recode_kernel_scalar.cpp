#include "recode/recode_kernels.h"

namespace lirvane {

void RecodeKernelScalar(const HighHalfTable& table, const uint8_t* in,
                        uint8_t* out, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = in[i];
    out[i] = b < 0x80 ? b : table.high[b - 0x80];
  }
}

}  // namespace lirvane
