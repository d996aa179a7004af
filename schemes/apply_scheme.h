// Running a scheme's rules over a text.
#pragma once

#include <string>
#include <string_view>

#include "schemes/custom_code.h"

namespace lirvane {

// For each rule k up to the smaller of Count and five: the text goes from
// the rule's source code page into Windows-1251, then out of Windows-1251
// into its target code page. Captions play no part. Callers check Count
// first: a scheme with Count <= 0 returns the text unchanged here, but is
// reported to the user as having no rules.
std::string ApplyScheme(const TCustomCode& record, std::string_view text);

}  // namespace lirvane
