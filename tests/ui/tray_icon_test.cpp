// The notification icon of the main window: the Tray1 switch, the window
// leaving the taskbar by hiding when minimized, and presses on the icon.
#include "platform/tray_icon.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QTest>

#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
  }

  // Stands in for a desktop with a notification area (the offscreen
  // platform has none).
  void WithNotificationArea() {
    frm.TrayIcon().SetNotificationAreaCheck([] { return true; });
  }

  void Press(QSystemTrayIcon::ActivationReason reason) {
    emit frm.TrayIcon().Icon().activated(reason);
    QApplication::processEvents();
  }

  // Lets queued work (the hide after minimizing) run.
  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }

  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
};

TEST_F(TrayIconTest, StartsWithoutIconAndWithTaskbarEntry) {
  EXPECT_FALSE(frm.Tray1->isChecked());
  EXPECT_FALSE(frm.TrayIcon().IconShown());
  EXPECT_TRUE(frm.TrayIcon().TaskbarEntryShown());
  QSystemTrayIcon& icon = frm.TrayIcon().Icon();
  EXPECT_FALSE(icon.isVisible());
  EXPECT_FALSE(icon.icon().isNull());
  EXPECT_TRUE(icon.toolTip().isEmpty());
  EXPECT_EQ(icon.contextMenu(), nullptr);
}

TEST_F(TrayIconTest, Tray1SwitchesIconAndTaskbarEntry) {
  WithNotificationArea();
  frm.Tray1->trigger();
  EXPECT_TRUE(frm.Tray1->isChecked());
  EXPECT_TRUE(frm.TrayIcon().IconShown());
  EXPECT_TRUE(frm.TrayIcon().Icon().isVisible());
  EXPECT_FALSE(frm.TrayIcon().TaskbarEntryShown());

  frm.Tray1->trigger();
  EXPECT_FALSE(frm.Tray1->isChecked());
  EXPECT_FALSE(frm.TrayIcon().IconShown());
  EXPECT_FALSE(frm.TrayIcon().Icon().isVisible());
  EXPECT_TRUE(frm.TrayIcon().TaskbarEntryShown());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TrayIconTest, SwitchToStoredValueTicksTray1WithoutInverting) {
  frm.SwitchTrayIcon(true);
  EXPECT_TRUE(frm.Tray1->isChecked());
  EXPECT_TRUE(frm.TrayIcon().IconShown());
  frm.SwitchTrayIcon(true);  // again: refreshed, still on
  EXPECT_TRUE(frm.Tray1->isChecked());
  EXPECT_TRUE(frm.TrayIcon().Icon().isVisible());
}

TEST_F(TrayIconTest, MinimizedWindowLeavesTheTaskbarWhileIconIsOn) {
  WithNotificationArea();
  frm.Tray1->trigger();
  frm.showMinimized();
  Settle();
  EXPECT_FALSE(frm.isVisible());

  Press(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(frm.isVisible());
  EXPECT_FALSE(frm.isMinimized());

  // Again after restoring: it still stays off the taskbar.
  frm.showMinimized();
  Settle();
  EXPECT_FALSE(frm.isVisible());
  Press(QSystemTrayIcon::Context);  // the right button
  EXPECT_TRUE(frm.isVisible());
  EXPECT_EQ(frm.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowNoState);
}

TEST_F(TrayIconTest, UntickingBringsTheTaskbarEntryBack) {
  WithNotificationArea();
  frm.Tray1->trigger();
  frm.Tray1->trigger();
  frm.showMinimized();
  Settle();
  EXPECT_TRUE(frm.isVisible());
  EXPECT_TRUE(frm.isMinimized());
}

TEST_F(TrayIconTest, WithoutNotificationAreaTheTaskbarEntryStaysAndTheUserIsTold) {
  frm.TrayIcon().SetNotificationAreaCheck([] { return false; });
  frm.Tray1->trigger();
  EXPECT_TRUE(frm.Tray1->isChecked());  // kept for a desktop that has one
  EXPECT_TRUE(frm.TrayIcon().TaskbarEntryShown());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].text.contains(QString::fromUtf8("нет области уведомлений")))
      << dialogs.messages[0].text.toStdString();
  EXPECT_TRUE(dialogs.messages[0].text.contains(QString::fromUtf8("панели задач")));
  frm.showMinimized();
  Settle();
  EXPECT_TRUE(frm.isVisible());
  EXPECT_TRUE(frm.isMinimized());

  // The stored value at start-up: no box, the status line says it.
  TMainFrm started;
  started.TrayIcon().SetNotificationAreaCheck([] { return false; });
  EXPECT_FALSE(started.SwitchTrayIcon(true));
  EXPECT_TRUE(started.TrayIcon().TaskbarEntryShown());
  EXPECT_TRUE(
      started.statusBar()->currentMessage().contains(QString::fromUtf8("Нет области уведомлений")));
  EXPECT_TRUE(started.statusBar()->currentMessage().contains(QString::fromUtf8("панели задач")));
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(TrayIconTest, StartedMinimizedWithIconOnShowsOnlyTheIcon) {
  TMainFrm started;
  started.TrayIcon().SetNotificationAreaCheck([] { return true; });
  started.SwitchTrayIcon(true);  // the stored value, before the first show
  started.showMinimized();       // as a run from the autorun entry comes up
  Settle();
  EXPECT_FALSE(started.isVisible());
  emit started.TrayIcon().Icon().activated(QSystemTrayIcon::Trigger);
  QApplication::processEvents();
  EXPECT_TRUE(started.isVisible());
  EXPECT_FALSE(started.isMinimized());
}

TEST_F(TrayIconTest, PressOnIconReturnsMaximizedWindowToNormal) {
  frm.Tray1->trigger();
  frm.showMaximized();
  Press(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(frm.isMaximized());
  EXPECT_TRUE(frm.isVisible());
}

TEST_F(TrayIconTest, DoubleClickMiddleButtonAndHiddenIconDoNothing) {
  WithNotificationArea();
  frm.Tray1->trigger();
  frm.showMinimized();
  Settle();
  ASSERT_FALSE(frm.isVisible());
  Press(QSystemTrayIcon::DoubleClick);
  Press(QSystemTrayIcon::MiddleClick);
  EXPECT_FALSE(frm.isVisible());

  // Once the icon is off its events stop.
  frm.TrayIcon().SetIconShown(false);
  Press(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(frm.isVisible());
}

TEST_F(TrayIconTest, TrayIconMouseDownRestoresMinimizedWindow) {
  frm.showMinimized();
  Settle();
  frm.TrayIconMouseDown();
  EXPECT_TRUE(frm.isVisible());
  EXPECT_FALSE(frm.isMinimized());
}

}  // namespace
}  // namespace lirvane
