// The scheme file loader on any content; what it loads is written and read
// back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_table.h"

namespace {

class QuietSink : public lirvane::MessageSink {
 public:
  void Show(lirvane::MessageKind, std::string_view) override {}
};

std::string Formatted(const lirvane::SchemeTable& table) {
  std::string out;
  for (int i = 1; i <= table.Count(); ++i) out += lirvane::FormatSchemeLines(table.Slot(i));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QuietSink sink;
  lirvane::SchemeTable table;
  lirvane::LoadSchemesFromText(table, std::string_view(reinterpret_cast<const char*>(data), size),
                               sink);
  const std::string written = Formatted(table);
  lirvane::SchemeTable again;
  lirvane::LoadSchemesFromText(again, written, sink);
  if (Formatted(again) != written) std::abort();
  return 0;
}
