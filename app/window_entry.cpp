// The window part's entry points (see window_entry.h).
#include "cli/window_entry.h"

#include <QApplication>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "platform/dialogs_message_sink.h"
#include "platform/quit_signals.h"
#include "base/program_arguments.h"

extern "C" LIRVANE_WINDOW_EXPORT int lirvane_window_main(int argc, char** argv) {
  const std::vector<std::string> args = lirvane::ProgramArguments(argc, argv);
  QApplication app(argc, argv);
  // From here a session's end, `kill` or Ctrl+C close the program as its
  // Exit command does; signals that came during start-up wait in the pipe.
  lirvane::QuitSignals quit_signals;
  lirvane::Application lirvane(args);
  QObject::connect(&quit_signals, &lirvane::QuitSignals::QuitRequested,
                   [&lirvane] { lirvane.Quit(); });
  lirvane.Start();
  lirvane.ShowMainWindow();
  return app.exec();
}

extern "C" LIRVANE_WINDOW_EXPORT void lirvane_window_message(int argc, char** argv, int kind,
                                                             const char* text, size_t size) {
  // QApplication keeps a reference to its argument count.
  static int app_argc = argc;
  static QApplication* const app = new QApplication(app_argc, argv);
  (void)app;
  lirvane::DialogsMessageSink().Show(static_cast<lirvane::MessageKind>(kind),
                                     std::string_view(text, size));
}
