#include <QApplication>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "app/conversion_run.h"
#include "ui/main_frm.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (lirvane::ClassifyFirstArgument(args) == lirvane::StartKind::kConversion)
    return lirvane::RunConversion(argc, argv, args);

  QApplication app(argc, argv);
  lirvane::Application lirvane(args);
  lirvane.Start();
  lirvane.ShowMainWindow();
  return app.exec();
}
