// Dialogs for a run without a display, such as a conversion from a script.
#include <QDialog>

#include <cstdio>

#include "platform/dialogs.h"

namespace lirvane {
namespace {

class StderrDialogs : public Dialogs {
 public:
  void ShowMessage(QWidget*, const QString&, const QString& text, MessageIcon) override {
    QString line = text;
    line.replace('\n', ' ');
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
  }
  ConfirmAnswer Confirm(QWidget*, const QString&, const QString&) override {
    return ConfirmAnswer::kNo;
  }
  std::optional<QString> OpenFileName(QWidget*, const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<QString> SaveFileName(QWidget*, const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<QFont> ChooseFont(QWidget*, const QFont&) override { return std::nullopt; }
  bool PrintDialog(QWidget*, QPrinter&) override { return false; }
  bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
  int ExecModal(QDialog&) override { return QDialog::Rejected; }
};

}  // namespace

std::unique_ptr<Dialogs> MakeStderrDialogs() { return std::make_unique<StderrDialogs>(); }

}  // namespace lirvane
