// lirvane_convert.exe: the command-line conversion alone, as the program
// runs it for "-conv:" (the schemes read from circuits.dat beside the
// executable, messages on standard error), for the Windows check, where the
// windows cannot be built for want of Qt.
#include <cstdio>
#include <string>
#include <vector>

#include "schemes/stderr_message_sink.h"
#include "schemes/command_text.h"
#include "schemes/convert_command_line.h"
#include "schemes/program_arguments.h"
#include "schemes/scheme_file.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = lirvane::ProgramArguments(argc, argv);
  if (args.empty() || !lirvane::IsConversionArgument(args[0])) {
    std::fprintf(stderr, "usage: lirvane_convert -conv:SOURCE[WHAT]TARGET\n");
    return 2;
  }
  lirvane::StderrMessageSink sink;
  lirvane::SchemeTable table;
  lirvane::LoadSchemes(table, lirvane::SchemeFilePath(), sink);
  return lirvane::ConvertCommandLine(lirvane::AssembleCommandText(args), table, sink);
}
