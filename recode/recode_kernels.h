// Kernels that map a byte buffer through a HighHalfTable.
//
// The scalar kernel is always built; faster ones are chosen at run time for
// the processor at hand. Every kernel takes any length and any alignment, and
// `out` may be `in` itself (recoding in place); other overlaps are not
// allowed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recode/recode_tables.h"

// The x86 vector kernels need GCC or Clang (per-function target attributes
// and __builtin_cpu_supports); elsewhere, MSVC included, only the scalar
// kernel exists.
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define LIRVANE_RECODE_X86_KERNELS 1
#endif

namespace lirvane {

using RecodeKernel = void (*)(const HighHalfTable& table, const uint8_t* in, uint8_t* out,
                              size_t size);

void RecodeKernelScalar(const HighHalfTable& table, const uint8_t* in, uint8_t* out, size_t size);

#if defined(LIRVANE_RECODE_X86_KERNELS)
// Needs AVX2. Eight 16-entry pshufb lookups per 32 bytes.
void RecodeKernelAvx2(const HighHalfTable& table, const uint8_t* in, uint8_t* out, size_t size);
// Needs AVX-512 F, BW and VBMI. One 128-entry two-table permute per 64 bytes.
void RecodeKernelAvx512Vbmi(const HighHalfTable& table, const uint8_t* in, uint8_t* out,
                            size_t size);
#endif

// The best kernel this processor runs, or the one the environment variable
// LIRVANE_KERNEL names ("scalar", "avx2", ...; see Available...Kernels),
// for testing and measuring one kernel in the whole program. Chosen once.
RecodeKernel BestRecodeKernel();

// True when LIRVANE_KERNEL names this kernel.
bool IsForcedKernel(const char* name);

// The text mapped through `table` by the best kernel, as a new string. Fills
// the string in cache-sized steps, so that its zero-fill stays in the cache,
// and asks for huge pages for long texts.
std::string RecodeIntoNewString(const HighHalfTable& table, std::string_view text);

// From this size on, a fresh result's pages are asked to be huge pages
// (where the system has transparent huge pages in madvise mode): one fault
// per 2 MiB instead of one per 4 KiB, which otherwise costs far more than
// the recoding itself.
inline constexpr size_t kHugePagesFrom = size_t{4} << 20;

// Gives that advice for a buffer not yet touched; a hint only, and nothing
// below kHugePagesFrom.
void AdviseHugePages(char* data, size_t size);

// Every kernel this processor runs, by name, the scalar one first and the
// best one last.
std::vector<std::pair<const char*, RecodeKernel>> AvailableRecodeKernels();

}  // namespace lirvane
