// The RTF reader on any document: never crashes, never reads out of bounds,
// and whatever it returns is text of the document's own making; read as
// UTF-8, the text is well-formed UTF-8 whatever the document holds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtf/rtf_reader.h"
#include "recode/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);
  lirvane::ReadRtfText(document);
  if (const std::optional<std::string> text = lirvane::ReadRtfTextUtf8(document)) {
    char32_t c = 0;
    for (size_t i = 0; i < text->size();) {
      const size_t length = lirvane::DecodeUtf8(*text, i, c);
      if (length == 0) __builtin_trap();
      i += length;
    }
  }
  return 0;
}
