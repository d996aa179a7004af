#include "base/version.h"
#include "platform/dialogs.h"

namespace lirvane {
namespace {

std::unique_ptr<Dialogs>& Slot() {
  static std::unique_ptr<Dialogs> dialogs;
  return dialogs;
}

}  // namespace

Dialogs& AppDialogs() {
  if (!Slot()) Slot() = MakeQtDialogs();
  return *Slot();
}

void SetAppDialogs(std::unique_ptr<Dialogs> dialogs) { Slot() = std::move(dialogs); }

// The same version as the main window's caption.
QString AppTitle() { return QStringLiteral("Velkor Lirvane! ") + QLatin1String(kProgramVersion); }

void ShowPlainMessage(QWidget* parent, const QString& text) {
  AppDialogs().ShowMessage(parent, AppTitle(), text, MessageIcon::kNone);
}

void ShowErrorBox(QWidget* parent, const QString& message) {
  QString text = message;
  if (!text.isEmpty() && text.back() > QChar('.')) text += '.';
  AppDialogs().ShowMessage(parent, AppTitle(), text, MessageIcon::kError);
}

ConfirmAnswer AskConfirmation(QWidget* parent, const QString& text) {
  return AppDialogs().Confirm(parent, QStringLiteral("Confirm"), text);
}

}  // namespace lirvane
