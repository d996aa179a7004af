// Kernels that map a byte buffer through a HighHalfTable.
//
// The scalar kernel is always built; faster ones are chosen at run time for
// the processor at hand.
#pragma once

#include <cstddef>
#include <cstdint>

#include "recode/recode_tables.h"

namespace lirvane {

using RecodeKernel = void (*)(const HighHalfTable& table, const uint8_t* in,
                              uint8_t* out, size_t size);

void RecodeKernelScalar(const HighHalfTable& table, const uint8_t* in,
                        uint8_t* out, size_t size);

// The best kernel this processor runs; chosen once.
RecodeKernel BestRecodeKernel();

}  // namespace lirvane
