#include "recode/recode_kernels.h"

namespace lirvane {

RecodeKernel BestRecodeKernel() {
  static const RecodeKernel kernel = RecodeKernelScalar;
  return kernel;
}

}  // namespace lirvane
