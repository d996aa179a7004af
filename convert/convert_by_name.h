// Command-line conversion by scheme name or by text-service keyword.
#pragma once

#include <string_view>

#include "convert/conversion_status.h"
#include "base/message_sink.h"
#include "schemes/scheme_table.h"

namespace lirvane {

// `what` is the bracketed part of the command, in the system's encoding.
// It is first looked up among the schemes from slot 0 on, both sides
// lowered with the Windows-1251 letter pairs; failing that it is compared,
// ASCII letters lowered, with "notags", "nospases", "uppercase",
// "lowercase", "lattocyr", "cyrtolat", "auto" and "autoutf8" (the
// detector's chain, into Windows-1251 or UTF-8; see
// detected_recoding_stage.h). The source streams through in
// pieces: its line breaks become CR LF as in a text pane, then the scheme
// or transform applies; the result replaces the target as
// conversion_target.h says.
//
// kCommandLineError means nothing matched or the scheme has no rules (then
// "Условия не заданы" was shown); the caller reports "Ошибка в командной
// строке!". Every other failure is shown here.
ConversionStatus ConvertByName(std::string_view what, std::string_view source,
                               std::string_view target, const SchemeTable& table,
                               MessageSink& sink);

}  // namespace lirvane
