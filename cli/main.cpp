// The program's front: a conversion run and the folder commands (--check,
// --fix) are served here without any windowing library; every other start
// hands over to the window part.
#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "batch/batch_options.h"
#include "cli/command_line.h"
#include "cli/conversion_run.h"
#include "cli/display.h"
#include "cli/start_status.h"
#include "cli/window_module.h"
#include "base/program_arguments.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args = lirvane::ProgramArguments(argc, argv);
  if (lirvane::IsBatchCommand(args)) return lirvane::RunBatch(args);
  if (lirvane::ClassifyFirstArgument(args) == lirvane::StartKind::kConversion)
    return lirvane::RunConversion(argc, argv, args);

  if (!lirvane::HaveDisplay()) {
    std::fprintf(stderr,
                 "lirvane: the window needs a display (DISPLAY or WAYLAND_DISPLAY), and "
                 "there is none; -conv: conversions run without one\n");
    return lirvane::kExitNoDisplay;
  }
  lirvane::WindowModule window;
  std::string error;
  if (!lirvane::LoadWindowModule(window, error)) {
    std::fprintf(stderr, "lirvane: cannot load the window part: %s\n", error.c_str());
    return lirvane::kExitNoWindowPart;
  }
  return window.main(argc, argv);
}
