#include "recode/recode_kernels.h"

#include <cstdlib>
#include <cstring>

namespace lirvane {

namespace {

#if defined(LIRVANE_RECODE_X86_KERNELS)
bool CpuHasAvx2() { return __builtin_cpu_supports("avx2"); }
bool CpuHasAvx512Vbmi() {
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vbmi");
}
#endif

}  // namespace

std::vector<std::pair<const char*, RecodeKernel>> AvailableRecodeKernels() {
  std::vector<std::pair<const char*, RecodeKernel>> kernels = {{"scalar", RecodeKernelScalar}};
#if defined(LIRVANE_RECODE_X86_KERNELS)
  // __builtin_cpu_supports also checks that the system saves the wide
  // registers, so a kernel listed here is safe to run.
  __builtin_cpu_init();
  if (CpuHasAvx2()) kernels.emplace_back("avx2", RecodeKernelAvx2);
  if (CpuHasAvx512Vbmi()) kernels.emplace_back("avx512vbmi", RecodeKernelAvx512Vbmi);
#endif
  return kernels;
}

bool IsForcedKernel(const char* name) {
  static const char* const forced = std::getenv("LIRVANE_KERNEL");
  return forced != nullptr && std::strcmp(forced, name) == 0;
}

RecodeKernel BestRecodeKernel() {
  static const RecodeKernel kernel = [] {
    const auto kernels = AvailableRecodeKernels();
    for (const auto& [name, k] : kernels)
      if (IsForcedKernel(name)) return k;
    return kernels.back().second;
  }();
  return kernel;
}

}  // namespace lirvane
