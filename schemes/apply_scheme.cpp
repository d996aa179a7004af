#include "schemes/apply_scheme.h"

#include <algorithm>

#include "recode/recode.h"

namespace lirvane {

std::string ApplyScheme(const TCustomCode& record, std::string_view text) {
  std::string result(text);
  const int rules = std::min<int32_t>(record.Count, kMaxRules);
  for (int k = 1; k <= rules; ++k) {
    RecodeInPlace(result, record.From(k));
    // Negating INT32_MIN would overflow; it names no code page either way.
    const int32_t to = record.To(k);
    if (to != INT32_MIN) RecodeInPlace(result, -to);
  }
  return result;
}

}  // namespace lirvane
