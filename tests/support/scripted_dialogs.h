// Dialogs for tests: answers come from queues the test fills, and every
// message shown is recorded.
#pragma once

#include <QFont>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/dialogs.h"

#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace lirvane::testing {

struct ShownMessage {
  QString caption;
  QString text;
  MessageIcon icon;
};

class ScriptedDialogs : public Dialogs {
 public:
  // What was shown, in order.
  std::vector<ShownMessage> messages;
  std::vector<ShownMessage> confirmations;
  std::vector<FileDialogRequest> open_requests;
  std::vector<FileDialogRequest> save_requests;
  std::vector<QString> folder_requests;  // the titles
  std::vector<QFont> font_requests;
  int print_dialogs = 0;
  int printer_setups = 0;

  // Answers, taken from the front; an empty queue cancels / answers No.
  std::deque<ConfirmAnswer> confirm_answers;
  std::deque<std::optional<QString>> open_answers;
  std::deque<std::optional<QString>> save_answers;
  std::deque<std::optional<QString>> folder_answers;
  std::deque<std::optional<QFont>> font_answers;
  std::deque<bool> print_answers;
  // Each runs in place of the modal window's event loop and returns its
  // result code; it may fill the window's fields and click its buttons.
  std::deque<std::function<int(QDialog&)>> modal_answers;

  void ShowMessage(QWidget*, const QString& caption, const QString& text,
                   MessageIcon icon) override;
  ConfirmAnswer Confirm(QWidget*, const QString& caption, const QString& text) override;
  std::optional<QString> OpenFileName(QWidget*, const FileDialogRequest& request) override;
  std::optional<QString> SaveFileName(QWidget*, const FileDialogRequest& request) override;
  std::optional<QString> ChooseFolder(QWidget*, const QString& title,
                                      const QString& directory) override;
  std::optional<QFont> ChooseFont(QWidget*, const QFont& initial) override;
  bool PrintDialog(QWidget*, QPrinter&) override;
  bool PrinterSetup(QWidget*, QPrinter&) override;
  int ExecModal(QDialog& dialog) override;

  // The texts of the messages shown, for compact assertions.
  std::vector<QString> Texts() const;
};

// Installs a fresh ScriptedDialogs as the application's and returns it.
ScriptedDialogs& InstallScriptedDialogs();

}  // namespace lirvane::testing
