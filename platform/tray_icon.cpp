#include "platform/tray_icon.h"

#include <QEvent>
#include <QWidget>

#include "platform/glyphs.h"
#include "platform/taskbar_entry.h"

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
  ApplySkipTaskbar();
  HideWhenMinimized();
}

void TSystemTrayIcon::ApplySkipTaskbar() {
  // A window not made yet gets the state from its show event; making it
  // here would fix its place too early.
  if (window_->testAttribute(Qt::WA_WState_Created))
    SetSkipTaskbar(*window_, !taskbar_entry_shown_);
}

bool TSystemTrayIcon::ShouldHide() const {
  return !taskbar_entry_shown_ && icon_shown_ && window_->isMinimized() &&
         NotificationAreaAvailable();
}

void TSystemTrayIcon::HideWhenMinimized() {
  if (!ShouldHide()) return;
  // After the state change has run its course: hiding from inside it
  // confuses some window managers.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (ShouldHide() && window_->isVisible()) window_->hide();
      },
      Qt::QueuedConnection);
}

bool TSystemTrayIcon::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::WindowStateChange) HideWhenMinimized();
  // The window manager forgets the state whenever the window is hidden.
  if (watched == window_ && event->type() == QEvent::Show && !taskbar_entry_shown_)
    SetSkipTaskbar(*window_, true);
  return QObject::eventFilter(watched, event);
}

void TSystemTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  // Only presses: double clicks and the middle button do nothing.
  if (!icon_shown_) return;
  if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) emit MouseDown();
}

}  // namespace lirvane
