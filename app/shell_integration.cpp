#include "app/shell_integration.h"

#include <QAction>
#include <QString>

#include "platform/dialogs.h"
#include "platform/shell/shell_integration.h"
#include "ui/main_frm.h"

namespace lirvane {

void WriteShellVerbsAtStart(ShellIntegration& shell) { shell.WriteShellVerbs(); }

void AskAttQuestion(QWidget* parent, ShellIntegration& shell) {
  const ConfirmAnswer answer = AskConfirmation(
      parent, QString::fromUtf8("Ассоциировать программу с ATT-файлами (рекомендуется)?"));
  if (answer == ConfirmAnswer::kNo) return;
  shell.WriteAttAssociation();
}

void SetAutorunCheckMark(TMainFrm& frm, ShellIntegration& shell) {
  frm.MAutoRun->setChecked(shell.AutorunEnabled());
}

}  // namespace lirvane
