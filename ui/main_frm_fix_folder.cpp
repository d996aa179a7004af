// Files → "Исправить папку...": a folder chosen, checked and, for the
// files ticked in the list, repaired.
#include "platform/dialogs.h"
#include "ui/fix_folder_frm.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::FixFolderSMClick() {
  const std::optional<QString> folder =
      AppDialogs().ChooseFolder(this, QString::fromUtf8("Выберите папку"), open_dialog_folder_);
  if (!folder) return;
  TFixFolderFrm frm(this);
  frm.CheckFolder(*folder);
  AppDialogs().ExecModal(frm);
}

}  // namespace lirvane
