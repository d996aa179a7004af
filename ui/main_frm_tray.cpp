// The notification icon and autorun.
#include <QAction>
#include <QStatusBar>
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

namespace {

const char* const kNoNotificationArea =
    "На этом рабочем столе нет области уведомлений (Tray): значок показать негде, "
    "поэтому окно остаётся на панели задач.";
// The same, short enough for the status line.
const char* const kNoNotificationAreaStatus =
    "Нет области уведомлений (Tray): окно остаётся на панели задач.";

}  // namespace

bool TMainFrm::SwitchTrayIcon(bool on) {
  Tray1->setChecked(on);
  // Without a notification area the icon shows nowhere: leaving the taskbar
  // too would leave the window reachable by nothing but Alt+Tab.
  const bool icon_seen = on && TrayIcon().NotificationAreaAvailable();
  TrayIcon().SetTaskbarEntryShown(!icon_seen);
  TrayIcon().SetIconShown(on);
  if (on && !icon_seen) {
    if (!findChild<QStatusBar*>("StatusBar")) statusBar()->setObjectName("StatusBar");
    statusBar()->showMessage(QString::fromUtf8(kNoNotificationAreaStatus));
  }
  return icon_seen;
}

void TMainFrm::Tray1Click() {
  // The item has already inverted its check mark.
  const bool on = Tray1->isChecked();
  if (!SwitchTrayIcon(on) && on) ShowPlainMessage(this, QString::fromUtf8(kNoNotificationArea));
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
