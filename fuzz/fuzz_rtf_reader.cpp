// The RTF reader on any document: never crashes, never reads out of bounds,
// and whatever it returns is text of the document's own making.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/rtf/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lirvane::ReadRtfText(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
