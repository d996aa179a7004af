// The repair on any input, as bytes and as text: always well-formed UTF-8
// out, at most three steps to a chain, and a text it does not change comes
// back exactly as it went in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "recode/repair.h"
#include "recode/utf8.h"

namespace {

bool WellFormed(std::string_view text) {
  char32_t c;
  for (size_t i = 0; i < text.size();) {
    const size_t length = lirvane::DecodeUtf8(text, i, c);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void Check(const lirvane::Repair& repair) {
  if (!WellFormed(repair.text)) std::abort();
  for (const lirvane::AppliedChain& chain : repair.chains)
    if (chain.steps.empty() || chain.steps.size() > 3) std::abort();
  if (!repair.changed && !repair.chains.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Check(lirvane::RepairBytes(input));
  if (WellFormed(input)) {
    const lirvane::Repair repair = lirvane::RepairText(input);
    Check(repair);
    if (!repair.changed && repair.text != input) std::abort();
  }
  return 0;
}
