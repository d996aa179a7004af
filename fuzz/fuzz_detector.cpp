// The detector on any bytes: a chain of at most three steps, a confidence
// between 0 and 1, and a chain that applies to the text without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "recode/detect_recoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const lirvane::Detection detection = lirvane::DetectRecoding(text);
  if (detection.chain.length < 0 || detection.chain.length > 3) std::abort();
  if (!(detection.confidence >= 0 && detection.confidence <= 1)) std::abort();
  if (!detection.judged && !detection.chain.empty()) std::abort();
  lirvane::ApplyRecodingChain(text, detection.chain);
  return 0;
}
