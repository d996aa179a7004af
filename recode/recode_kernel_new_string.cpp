// Recoding into a newly allocated string without paying for the string's
// zero-fill in memory bandwidth, and with few page faults for long texts.
#include <algorithm>

#include "recode/recode_kernels.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace lirvane {
namespace {

// Small enough that a chunk the string has just zero-filled is still in the
// cache when the kernel overwrites it.
constexpr size_t kChunk = size_t{64} << 10;

}  // namespace

void AdviseHugePages([[maybe_unused]] char* data, [[maybe_unused]] size_t size) {
  if (size < kHugePagesFrom) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  const long page = sysconf(_SC_PAGESIZE);
  if (page <= 0) return;
  const auto mask = static_cast<uintptr_t>(page) - 1;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + mask) & ~mask;
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~mask;
  // Only a hint: on failure the pages are simply small.
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

std::string RecodeIntoNewString(const HighHalfTable& table, std::string_view text) {
  const RecodeKernel kernel = BestRecodeKernel();
  const auto* in = reinterpret_cast<const uint8_t*>(text.data());
  std::string out;
  // reserve() allocates without touching the pages, so the advice comes
  // before their first use.
  out.reserve(text.size());
  AdviseHugePages(out.data(), text.size());
  while (out.size() < text.size()) {
    const size_t done = out.size();
    const size_t n = std::min(kChunk, text.size() - done);
    out.append(n, '\0');
    kernel(table, in + done, reinterpret_cast<uint8_t*>(out.data()) + done, n);
  }
  return out;
}

}  // namespace lirvane
