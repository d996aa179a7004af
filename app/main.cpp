#include <QApplication>

#include "ui/main_frm.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  lirvane::TMainFrm main_frm;
  main_frm.show();
  return app.exec();
}
