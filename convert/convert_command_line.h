// The command-line conversion: " -conv:" source "[" what "]" target.
#pragma once

#include <functional>
#include <string_view>

#include "convert/conversion_status.h"
#include "base/message_sink.h"
#include "schemes/scheme_table.h"

namespace lirvane {

// `command_text` as AssembleCommandText builds it. Its first seven
// characters (the blank and "-conv:" in any case) are dropped; the source
// is what comes before the first "[", the what-part what follows up to the
// first "]", the target the rest. Nothing is trimmed: blanks belong to the
// names. A what-part that reads as an integer converts by code, anything
// else by name. Every failure is shown through `sink`; the result is a
// ConversionStatus as an exit status (see conversion_status.h).
int ConvertCommandLine(std::string_view command_text, const SchemeTable& table, MessageSink& sink);

// The scheme table, asked for only when the what-part is no number: a
// conversion by code needs no scheme file and says nothing about one.
using SchemeTableSource = std::function<const SchemeTable&(MessageSink& sink)>;
int ConvertCommandLine(std::string_view command_text, const SchemeTableSource& schemes,
                       MessageSink& sink);

}  // namespace lirvane
