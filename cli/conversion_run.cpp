#include "cli/conversion_run.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/display.h"
#include "base/stderr_message_sink.h"
#include "cli/window_module.h"
#include "convert/command_text.h"
#include "convert/convert_command_line.h"
#include "schemes/scheme_file.h"

namespace lirvane {
namespace {

// Message boxes through the window part, loaded at the first message; if
// it cannot be loaded the messages go to standard error after all.
class WindowMessageSink : public MessageSink {
 public:
  WindowMessageSink(int argc, char** argv) : argc_(argc), argv_(argv) {}

  void Show(MessageKind kind, std::string_view text) override {
    if (kind == MessageKind::kNote) return fallback_.Show(kind, text);
    if (!tried_) {
      tried_ = true;
      std::string error;
      if (!LoadWindowModule(module_, error))
        std::fprintf(stderr, "lirvane: no message boxes: %s\n", error.c_str());
    }
    if (module_.message == nullptr) {
      fallback_.Show(kind, text);
      return;
    }
    module_.message(argc_, argv_, static_cast<int>(kind), text.data(), text.size());
  }

 private:
  int argc_;
  char** argv_;
  bool tried_ = false;
  WindowModule module_;
  StderrMessageSink fallback_;
};

}  // namespace

int RunConversion(int argc, char** argv, const std::vector<std::string>& args) {
  StderrMessageSink to_stderr;
  WindowMessageSink to_boxes(argc, argv);
  MessageSink& sink = HaveDisplay() ? static_cast<MessageSink&>(to_boxes) : to_stderr;

  // The scheme file is read only for a conversion by name; the table is
  // neither changed nor written back. No scheme file is no fault here: a
  // keyword needs none, and a name that is no keyword is reported anyway.
  SchemeTable table;
  bool loaded = false;
  const SchemeTableSource schemes = [&](MessageSink& messages) -> const SchemeTable& {
    if (!loaded) {
      const std::filesystem::path path = SchemeFilePath();
      std::error_code error;
      if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
        LoadSchemes(table, path, messages);
      loaded = true;
    }
    return table;
  };
  return ConvertCommandLine(AssembleCommandText(args), schemes, sink);
}

}  // namespace lirvane
