// Converts one file by code the way the command line does, for timing the
// streaming conversion against other tools on large files:
//
//   convert_file_driver SOURCE CODE TARGET
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "convert/convert_by_code.h"
#include "base/message_sink.h"

namespace {

class StderrSink : public lirvane::MessageSink {
 public:
  void Show(lirvane::MessageKind, std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SOURCE CODE TARGET\n", argv[0]);
    return 2;
  }
  StderrSink sink;
  const auto code = static_cast<int32_t>(std::strtol(argv[2], nullptr, 10));
  return static_cast<int>(lirvane::ConvertFileByCode(argv[1], argv[3], code, sink));
}
