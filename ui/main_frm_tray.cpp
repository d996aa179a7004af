// The notification icon and autorun.
#include <QAction>
#include <exception>

#include "platform/dialogs.h"
#include "platform/shell/shell_integration.h"
#include "platform/tray_icon.h"
#include "ui/main_frm.h"

namespace lirvane {

TSystemTrayIcon& TMainFrm::TrayIcon() {
  if (!tray_icon_) {
    tray_icon_ = new TSystemTrayIcon(this);
    connect(tray_icon_, &TSystemTrayIcon::MouseDown, this, &TMainFrm::TrayIconMouseDown);
  }
  return *tray_icon_;
}

void TMainFrm::SwitchTrayIcon(bool on) {
  Tray1->setChecked(on);
  TrayIcon().SetTaskbarEntryShown(!on);
  TrayIcon().SetIconShown(on);
}

void TMainFrm::Tray1Click() {
  // The item has already inverted its check mark.
  SwitchTrayIcon(Tray1->isChecked());
}

void TMainFrm::MAutoRunClick() {
  // The item has already inverted its check mark; it changes only once
  // the autorun place is known to be there.
  const bool on = MAutoRun->isChecked();
  MAutoRun->setChecked(!on);
  if (!shell_) return;
  try {
    if (shell_->SwitchAutorun(on) == AutorunSwitch::kRunKeyUnavailable) return;
    MAutoRun->setChecked(on);
  } catch (const std::exception& error) {
    // A refused write leaves the item ticked, as it was asked to be; a
    // refused removal leaves the entry, and so the tick, in place.
    MAutoRun->setChecked(true);
    ShowErrorBox(this, QString::fromUtf8(error.what()));
  }
}

void TMainFrm::TrayIconMouseDown() {
  showNormal();
  raise();
  activateWindow();
}

}  // namespace lirvane
