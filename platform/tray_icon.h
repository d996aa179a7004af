// The notification-area icon of the main window, with the switch that keeps
// the window off the taskbar.
//
// With the taskbar entry off, a shown window carries the skip-taskbar
// state where the platform has one (X11, see taskbar_entry.h). Qt itself
// cannot drop a shown window's taskbar button everywhere (a Qt::Tool window
// changes how the window behaves and ends the run differently), so the
// window also leaves the taskbar by hiding whenever it is minimized,
// leaving only the icon; a press on the icon brings it back. It hides only
// when a notification area exists: without one the window would be lost.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QWidget;

namespace lirvane {

class TSystemTrayIcon : public QObject {
  Q_OBJECT

 public:
  // Shows the application's icon, no tooltip, no menu; hidden at first.
  explicit TSystemTrayIcon(QWidget* window);
  ~TSystemTrayIcon() override;

  // Adds the icon to the notification area (refreshing it if there) or
  // removes it; presses are reported only while it is shown.
  void SetIconShown(bool shown);
  bool IconShown() const { return icon_shown_; }

  // Off: the window hides whenever it is minimized, at once if it is now.
  void SetTaskbarEntryShown(bool shown);
  bool TaskbarEntryShown() const { return taskbar_entry_shown_; }

  // Whether the desktop has a notification area; the system's answer unless
  // replaced (tests stand in for a desktop that has one).
  void SetNotificationAreaCheck(std::function<bool()> check) { area_available_ = std::move(check); }
  bool NotificationAreaAvailable() const { return area_available_ && area_available_(); }

  QSystemTrayIcon& Icon() { return *icon_; }

 signals:
  // The left or the right mouse button was pressed on the icon.
  void MouseDown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  bool ShouldHide() const;
  void HideWhenMinimized();
  void ApplySkipTaskbar();

  QWidget* window_;
  QSystemTrayIcon* icon_;
  bool icon_shown_ = false;
  bool taskbar_entry_shown_ = true;
  std::function<bool()> area_available_;
};

}  // namespace lirvane
