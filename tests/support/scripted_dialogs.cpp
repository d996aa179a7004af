#include "tests/support/scripted_dialogs.h"

#include <QDialog>

namespace lirvane::testing {
namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T otherwise) {
  if (!queue.empty()) {
    otherwise = std::move(queue.front());
    queue.pop_front();
  }
  return otherwise;
}

}  // namespace

void ScriptedDialogs::ShowMessage(QWidget*, const QString& caption, const QString& text,
                                  MessageIcon icon) {
  messages.push_back({caption, text, icon});
}

ConfirmAnswer ScriptedDialogs::Confirm(QWidget*, const QString& caption, const QString& text) {
  confirmations.push_back({caption, text, MessageIcon::kQuestion});
  return TakeFront(confirm_answers, ConfirmAnswer::kNo);
}

std::optional<QString> ScriptedDialogs::OpenFileName(QWidget*, const FileDialogRequest& request) {
  open_requests.push_back(request);
  return TakeFront<std::optional<QString>>(open_answers, std::nullopt);
}

std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const FileDialogRequest& request) {
  save_requests.push_back(request);
  return TakeFront<std::optional<QString>>(save_answers, std::nullopt);
}

std::optional<QString> ScriptedDialogs::ChooseFolder(QWidget*, const QString& title,
                                                     const QString&) {
  folder_requests.push_back(title);
  return TakeFront<std::optional<QString>>(folder_answers, std::nullopt);
}

std::optional<QFont> ScriptedDialogs::ChooseFont(QWidget*, const QFont& initial) {
  font_requests.push_back(initial);
  return TakeFront(font_answers, std::optional<QFont>());
}

bool ScriptedDialogs::PrintDialog(QWidget*, QPrinter&) {
  ++print_dialogs;
  return TakeFront(print_answers, false);
}

bool ScriptedDialogs::PrinterSetup(QWidget*, QPrinter&) {
  ++printer_setups;
  return true;
}

int ScriptedDialogs::ExecModal(QDialog& dialog) {
  auto answer = TakeFront(modal_answers, std::function<int(QDialog&)>());
  return answer ? answer(dialog) : QDialog::Rejected;
}

std::vector<QString> ScriptedDialogs::Texts() const {
  std::vector<QString> texts;
  for (const ShownMessage& m : messages) texts.push_back(m.text);
  return texts;
}

ScriptedDialogs& InstallScriptedDialogs() {
  auto dialogs = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& ref = *dialogs;
  SetAppDialogs(std::move(dialogs));
  return ref;
}

}  // namespace lirvane::testing
