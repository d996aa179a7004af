// The program's windows under a real X server and window manager: Xvfb and
// openbox, started here for the run. The offscreen platform has neither
// window frames placed by a manager nor a taskbar state to look at.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QAction>
#include <QApplication>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/tray_icon.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_xdg_homes.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

// The atoms of a window's _NET_WM_STATE, by name.
std::vector<std::string> WindowStates(QWidget& window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11->connection();
  const char* name = "_NET_WM_STATE";
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> state(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), nullptr), &free);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
      xcb_get_property_reply(
          c, xcb_get_property(c, 0, window.winId(), state->atom, XCB_ATOM_ATOM, 0, 64), nullptr),
      &free);
  std::vector<std::string> names;
  if (!reply || reply->format != 32) return names;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  for (int i = 0; i < xcb_get_property_value_length(reply.get()) / 4; ++i) {
    std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&free)> atom_name(
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atoms[i]), nullptr), &free);
    if (atom_name)
      names.emplace_back(xcb_get_atom_name_name(atom_name.get()),
                         xcb_get_atom_name_name_length(atom_name.get()));
  }
  return names;
}

bool SkipsTaskbar(QWidget& window) {
  for (const std::string& s : WindowStates(window))
    if (s == "_NET_WM_STATE_SKIP_TASKBAR") return true;
  return false;
}

// Lets the window manager answer: true once `done` holds, false after 5 s.
bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

class X11SessionTest : public ::testing::Test {
 protected:
  std::filesystem::path SchemeFile() { return dir.filePath("circuits.dat").toStdString(); }

  testing::TempXdgHomes xdg_homes;
  QTemporaryDir dir;
};

// A message box before the main window must not shift the stored place:
// the real boxes, each closed as soon as it is up.
TEST_F(X11SessionTest, PlaceComesBackAfterAMessageFirst) {
  class RealBoxes : public testing::ScriptedDialogs {
   public:
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                     MessageIcon icon) override {
      ScriptedDialogs::ShowMessage(parent, caption, text, icon);
      QTimer closer;
      QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
      });
      closer.start(50);
      real_->ShowMessage(parent, caption, text, icon);
    }

   private:
    std::unique_ptr<Dialogs> real_ = MakeQtDialogs();
  };
  SetAppDialogs(std::make_unique<RealBoxes>());
  QPoint first;
  for (int start = 0; start < 3; ++start) {
    std::filesystem::remove(SchemeFile());  // "Файл схем не найден!" first
    Application app({}, SchemeFile());
    app.Start();
    app.ShowMainWindow();
    TMainFrm& frm = app.MainFrm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    // The frame arrives from the window manager after the window maps.
    WaitFor([&] { return frm.frameGeometry() != frm.geometry(); });
    QTest::qWait(200);
    if (start == 0) {
      frm.move(150, 160);
      WaitFor([&] { return frm.frameGeometry().topLeft() == QPoint(150, 160); });
      first = frm.frameGeometry().topLeft();
    } else {
      EXPECT_EQ(frm.frameGeometry().topLeft(), first) << "start " << start;
    }
    frm.close();
  }
}

TEST_F(X11SessionTest, NoTaskbarEntryWhileTheIconIsOn) {
  testing::InstallScriptedDialogs();
  TMainFrm frm;
  frm.TrayIcon().SetNotificationAreaCheck([] { return true; });
  frm.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
  EXPECT_FALSE(SkipsTaskbar(frm));
  frm.SwitchTrayIcon(true);
  EXPECT_TRUE(WaitFor([&] { return SkipsTaskbar(frm); }));
  EXPECT_TRUE(frm.isVisible());  // shown, only off the taskbar
  // The window manager drops the state when the window is hidden.
  frm.hide();
  QTest::qWait(200);
  frm.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
  EXPECT_TRUE(WaitFor([&] { return SkipsTaskbar(frm); }));
  frm.SwitchTrayIcon(false);
  EXPECT_TRUE(WaitFor([&] { return !SkipsTaskbar(frm); }));
}

// openbox has no notification area: an icon there would be seen nowhere.
TEST_F(X11SessionTest, WithoutNotificationAreaTheTaskbarEntryStays) {
  testing::ScriptedDialogs& dialogs = testing::InstallScriptedDialogs();
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  TMainFrm frm;
  frm.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
  frm.Tray1->trigger();
  EXPECT_TRUE(frm.Tray1->isChecked());
  QTest::qWait(300);
  EXPECT_FALSE(SkipsTaskbar(frm));
  EXPECT_EQ(dialogs.messages.size(), 1u);
  frm.showMinimized();
  QTest::qWait(300);
  EXPECT_TRUE(frm.isVisible());
  EXPECT_FALSE(SkipsTaskbar(frm));
}

// Child processes of the run: the X server and the window manager.
class Session {
 public:
  ~Session() {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
      kill(*it, SIGTERM);
      waitpid(*it, nullptr, 0);
    }
  }

  // The display's name, or empty when Xvfb could not start.
  std::string StartServer() {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x900x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    if (pid < 0) return {};
    children_.push_back(pid);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    return number.empty() ? std::string() : ":" + number;
  }

  void StartWindowManager() {
    const pid_t pid = fork();
    if (pid == 0) {
      execlp("openbox", "openbox", static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid > 0) children_.push_back(pid);
  }

 private:
  std::vector<pid_t> children_;
};

bool OnPath(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace
}  // namespace lirvane

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!lirvane::OnPath("Xvfb") || !lirvane::OnPath("openbox")) {
    std::fprintf(stderr, "Xvfb or openbox missing: skipped\n");
    return 77;
  }
  lirvane::Session session;
  const std::string display = session.StartServer();
  if (display.empty()) {
    std::fprintf(stderr, "Xvfb did not start: skipped\n");
    return 77;
  }
  setenv("DISPLAY", display.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  session.StartWindowManager();
  QApplication app(argc, argv);
  // openbox announces itself on the root window once it manages windows.
  QTest::qWait(1000);
  return RUN_ALL_TESTS();
}
