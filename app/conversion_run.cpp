#include "app/conversion_run.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "app/stderr_message_sink.h"
#include "platform/dialogs.h"
#include "platform/dialogs_message_sink.h"
#include "schemes/command_text.h"
#include "schemes/convert_command_line.h"
#include "schemes/scheme_file.h"

namespace lirvane {

bool HaveDisplay() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
#ifdef _WIN32
  return true;
#else
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#endif
}

int RunConversion(int argc, char** argv, const std::vector<std::string>& args) {
  // The schemes are read first, as at every start, so that a scheme name
  // can be found; the table is neither changed nor written back.
  auto convert = [&](MessageSink& sink) {
    SchemeTable table;
    LoadSchemes(table, SchemeFilePath(), sink);
    return ConvertCommandLine(AssembleCommandText(args), table, sink);
  };
  if (!HaveDisplay()) {
    StderrMessageSink sink;
    return convert(sink);
  }
  QApplication app(argc, argv);
  DialogsMessageSink sink;
  return convert(sink);
}

}  // namespace lirvane
