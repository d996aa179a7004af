#include "platform/tray_icon.h"

#include <QEvent>
#include <QWidget>

#include "platform/glyphs.h"

namespace lirvane {

TSystemTrayIcon::TSystemTrayIcon(QWidget* window)
    : QObject(window),
      window_(window),
      icon_(new QSystemTrayIcon(this)),
      area_available_(&QSystemTrayIcon::isSystemTrayAvailable) {
  setObjectName("TrayIcon");
  icon_->setIcon(AppIcon());
  icon_->setToolTip(QString());
  connect(icon_, &QSystemTrayIcon::activated, this, &TSystemTrayIcon::OnActivated);
  window_->installEventFilter(this);
}

TSystemTrayIcon::~TSystemTrayIcon() = default;

void TSystemTrayIcon::SetIconShown(bool shown) {
  icon_shown_ = shown;
  if (shown) {
    icon_->setIcon(AppIcon());  // refresh it when it is already there
    icon_->show();
  } else {
    icon_->hide();
  }
}

void TSystemTrayIcon::SetTaskbarEntryShown(bool shown) {
  taskbar_entry_shown_ = shown;
  HideWhenMinimized();
}

bool TSystemTrayIcon::ShouldHide() const {
  return !taskbar_entry_shown_ && icon_shown_ && window_->isMinimized() && area_available_ &&
         area_available_();
}

void TSystemTrayIcon::HideWhenMinimized() {
  if (!ShouldHide()) return;
  // After the state change has run its course: hiding from inside it
  // confuses some window managers.
  QMetaObject::invokeMethod(
      this, [this] { if (ShouldHide() && window_->isVisible()) window_->hide(); },
      Qt::QueuedConnection);
}

bool TSystemTrayIcon::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::WindowStateChange) HideWhenMinimized();
  return QObject::eventFilter(watched, event);
}

void TSystemTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  // Only presses: double clicks and the middle button do nothing.
  if (!icon_shown_) return;
  if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) emit MouseDown();
}

}  // namespace lirvane
