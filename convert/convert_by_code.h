// Command-line conversion of a file by a code page code.
#pragma once

#include <cstdint>
#include <string_view>

#include "convert/conversion_status.h"
#include "base/message_sink.h"

namespace lirvane {

// Streams `source` line by line through Recode(line, code) into `target`
// (see line_recoder.h for the line rules and conversion_target.h for how the
// target is replaced). Source and target may be the same file. Shows every
// failure itself.
ConversionStatus ConvertFileByCode(std::string_view source, std::string_view target, int32_t code,
                                   MessageSink& sink);

}  // namespace lirvane
