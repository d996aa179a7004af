// The freedesktop.org realisation against temporary XDG folders: the
// desktop entry, the MIME package and mimeapps.list, and the autostart
// entry behind the main window's autorun command.
#include "platform/shell/freedesktop_shell_integration.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QStandardPaths>
#include <filesystem>

#include "app/shell_integration.h"
#include "platform/store/store_accessor.h"
#include "tests/support/temp_xdg_homes.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;
using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TempXdgHomes;
using Tools = FreedesktopShellIntegration::DatabaseTools;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class FreedesktopShellTest : public ::testing::Test {
 protected:
  fs::path DesktopEntry() const { return homes.Data() / "applications" / kDesktopFileName; }
  fs::path Autostart() const { return homes.Config() / "autostart" / kDesktopFileName; }
  fs::path MimeApps() const { return homes.Config() / "mimeapps.list"; }
  fs::path MimePackage() const { return homes.Data() / "mime" / "packages" / "lirvane-att.xml"; }

  TempXdgHomes homes;
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  FreedesktopShellIntegration shell{"/opt/lirvane/lirvane", Tools::kSkip};
};

TEST_F(FreedesktopShellTest, FoldersFollowTheEnvironment) {
  EXPECT_EQ(FreedesktopShellIntegration::DesktopEntryFile().toStdString(), DesktopEntry().string());
  EXPECT_EQ(FreedesktopShellIntegration::AutostartFile().toStdString(), Autostart().string());
  EXPECT_EQ(FreedesktopShellIntegration::MimeAppsFile().toStdString(), MimeApps().string());
}

TEST_F(FreedesktopShellTest, RelativeXdgFolderFallsBackToHome) {
  setenv("XDG_DATA_HOME", "relative/data", 1);
  EXPECT_TRUE(FreedesktopShellIntegration::DataHome().endsWith("/.local/share"));
  setenv("XDG_DATA_HOME", homes.Data().c_str(), 1);
}

TEST_F(FreedesktopShellTest, VerbIsADesktopEntryForTextAndHtml) {
  WriteShellVerbsAtStart(shell);
  const std::string entry = TempXdgHomes::Read(DesktopEntry());
  EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
  for (const char* line :
       {"\nType=Application\n", "\nName=Velkor Lirvane!\n", "\nExec=/opt/lirvane/lirvane %f\n",
        "\nTryExec=/opt/lirvane/lirvane\n", "\nIcon=net.velkor.Lirvane\n", "\nTerminal=false\n",
        "\nCategories=Utility;TextTools;\n", "\nMimeType=text/plain;text/html;\n"})
    EXPECT_TRUE(Contains(entry, line)) << line << " in\n" << entry;
  // No association before the first-run question.
  EXPECT_FALSE(fs::exists(MimePackage()));
  EXPECT_FALSE(fs::exists(MimeApps()));
  // The icon the entry names is installed beside it.
  EXPECT_TRUE(
      fs::is_regular_file(homes.Data() / "icons/hicolor/64x64/apps/net.velkor.Lirvane.png"));
}

// An installed copy, its entry in a system data folder and the program
// found along PATH, as a package puts them.
class InstalledCopy {
 public:
  explicit InstalledCopy(const fs::path& root) : root_(root) {
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share/applications");
    TempXdgHomes::Write(root / "bin/lirvane", "#!/bin/sh\n");
    fs::permissions(root / "bin/lirvane", fs::perms::owner_all);
    TempXdgHomes::Write(root / "share/applications" / kDesktopFileName,
                        "[Desktop Entry]\nType=Application\nName=Velkor Lirvane!\n"
                        "TryExec=lirvane\nExec=lirvane %f\n");
    Keep("XDG_DATA_DIRS", (root / "share").string(), data_dirs_);
    Keep("PATH", (root / "bin").string() + ":" + std::getenv("PATH"), path_);
  }
  ~InstalledCopy() {
    setenv("XDG_DATA_DIRS", data_dirs_.c_str(), 1);
    setenv("PATH", path_.c_str(), 1);
  }
  fs::path Program() const { return root_ / "bin/lirvane"; }

 private:
  static void Keep(const char* name, const std::string& value, std::string& old) {
    old = std::getenv(name) ? std::getenv(name) : "";
    setenv(name, value.c_str(), 1);
  }
  fs::path root_;
  std::string data_dirs_, path_;
};

TEST_F(FreedesktopShellTest, InstalledCopyNeedsNoEntryOfTheUsersOwn) {
  InstalledCopy installed(homes.Data().parent_path() / "usr");
  FreedesktopShellIntegration packaged(installed.Program(), Tools::kSkip);
  // An entry an earlier start wrote for this copy goes too.
  TempXdgHomes::Write(DesktopEntry(), packaged.DesktopEntry(false).toStdString());
  WriteShellVerbsAtStart(packaged);
  EXPECT_FALSE(fs::exists(DesktopEntry()));

  // Another copy (a build folder) is not what the installed entry starts.
  FreedesktopShellIntegration other("/opt/lirvane/lirvane", Tools::kSkip);
  other.WriteShellVerbs();
  EXPECT_TRUE(fs::exists(DesktopEntry()));
  fs::remove(DesktopEntry());

  // The ".ATT" type is this program's addition to the installed entry:
  // the user's entry is needed for it.
  packaged.WriteAttAssociation();
  packaged.WriteShellVerbs();
  const std::string entry = TempXdgHomes::Read(DesktopEntry());
  EXPECT_TRUE(Contains(entry, "application/x-lirvane-att;")) << entry;
  EXPECT_TRUE(Contains(entry, "\nTryExec=" + installed.Program().string() + "\n")) << entry;
}

TEST_F(FreedesktopShellTest, MovedCopyRewritesTheEntryWithQuotedPath) {
  shell.WriteShellVerbs();
  FreedesktopShellIntegration moved("/home/u/My Apps/lirvane", Tools::kSkip);
  moved.WriteShellVerbs();
  const std::string entry = TempXdgHomes::Read(DesktopEntry());
  EXPECT_TRUE(Contains(entry, "\nExec=\"/home/u/My Apps/lirvane\" %f\n")) << entry;
  EXPECT_FALSE(Contains(entry, "/opt/lirvane"));
}

TEST_F(FreedesktopShellTest, UnwritableApplicationsFolderFailsTheVerbs) {
  TempXdgHomes::Write(homes.Data() / "applications", "not a folder");
  try {
    shell.WriteShellVerbs();
    FAIL() << "no error";
  } catch (const StoreError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for ''");
  }
}

TEST_F(FreedesktopShellTest, EntriesOfEarlierBuildsMoveToTheApplicationId) {
  const fs::path old_entry = homes.Data() / "applications" / "lirvane.desktop";
  const fs::path old_autostart = homes.Config() / "autostart" / "lirvane.desktop";
  TempXdgHomes::Write(old_entry, "[Desktop Entry]\nName=Lirvane\nExec=/old/lirvane %f\n");
  TempXdgHomes::Write(old_autostart, "[Desktop Entry]\nExec=/old/lirvane -fromautorun\n");
  TempXdgHomes::Write(MimeApps(),
                      "[Default Applications]\napplication/x-lirvane-att=lirvane.desktop\n");
  shell.WriteShellVerbs();
  // One entry in the menu, autorun still on, ".ATT" still ours.
  EXPECT_FALSE(fs::exists(old_entry));
  EXPECT_TRUE(fs::exists(DesktopEntry()));
  EXPECT_FALSE(fs::exists(old_autostart));
  EXPECT_TRUE(shell.AutorunEnabled());
  EXPECT_TRUE(
      Contains(TempXdgHomes::Read(Autostart()), "\nExec=/opt/lirvane/lirvane -fromautorun\n"));
  EXPECT_EQ(TempXdgHomes::Read(MimeApps()),
            "[Default Applications]\napplication/x-lirvane-att=net.velkor.Lirvane.desktop\n");

  // A switched-off old autostart entry just goes.
  fs::remove(Autostart());
  TempXdgHomes::Write(old_autostart,
                      "[Desktop Entry]\nExec=/old/lirvane -fromautorun\nHidden=true\n");
  shell.WriteShellVerbs();
  EXPECT_FALSE(fs::exists(old_autostart));
  EXPECT_FALSE(shell.AutorunEnabled());
}

TEST_F(FreedesktopShellTest, AttQuestionNoWritesNothing) {
  dialogs.confirm_answers = {ConfirmAnswer::kNo};
  AskAttQuestion(nullptr, shell);
  ASSERT_EQ(dialogs.confirmations.size(), 1u);
  EXPECT_EQ(dialogs.confirmations[0].caption, "Confirm");
  EXPECT_FALSE(fs::exists(MimePackage()));
  EXPECT_FALSE(fs::exists(MimeApps()));
  EXPECT_FALSE(fs::exists(DesktopEntry()));
}

TEST_F(FreedesktopShellTest, AttAssociationDefinesTypeAndDefaultKeepingOtherEntries) {
  const std::string before =
      "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
      "[Default Applications]\ntext/html=firefox.desktop\napplication/x-lirvane-att=old.desktop\n";
  TempXdgHomes::Write(MimeApps(), before);
  shell.WriteShellVerbs();
  for (ConfirmAnswer answer : {ConfirmAnswer::kYes, ConfirmAnswer::kClosed}) {
    dialogs.confirm_answers = {answer};
    AskAttQuestion(nullptr, shell);
  }

  const std::string package = TempXdgHomes::Read(MimePackage());
  EXPECT_TRUE(Contains(package, "<mime-type type=\"application/x-lirvane-att\">")) << package;
  EXPECT_TRUE(Contains(package, "<glob pattern=\"*.att\" case-sensitive=\"false\"/>")) << package;
  EXPECT_EQ(TempXdgHomes::Read(MimeApps()),
            "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
            "[Default Applications]\ntext/html=firefox.desktop\n"
            "application/x-lirvane-att=net.velkor.Lirvane.desktop\n");
  EXPECT_TRUE(Contains(TempXdgHomes::Read(DesktopEntry()),
                       "\nMimeType=text/plain;text/html;application/x-lirvane-att;\n"));

  // The next start's rewrite keeps the type in the entry.
  FreedesktopShellIntegration next_start("/opt/lirvane/lirvane", Tools::kSkip);
  next_start.WriteShellVerbs();
  EXPECT_TRUE(Contains(TempXdgHomes::Read(DesktopEntry()), "application/x-lirvane-att;"));
}

TEST_F(FreedesktopShellTest, AttAssociationMakesMimeAppsListWhenMissing) {
  dialogs.confirm_answers = {ConfirmAnswer::kYes};
  AskAttQuestion(nullptr, shell);
  EXPECT_EQ(TempXdgHomes::Read(MimeApps()),
            "[Default Applications]\napplication/x-lirvane-att=net.velkor.Lirvane.desktop\n");
}

TEST_F(FreedesktopShellTest, MimeDatabaseLearnsTheGlob) {
  if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
    GTEST_SKIP() << "update-mime-database is not installed";
  FreedesktopShellIntegration with_tools("/opt/lirvane/lirvane", Tools::kRun);
  with_tools.WriteAttAssociation();
  const std::string globs = TempXdgHomes::Read(homes.Data() / "mime" / "globs2");
  EXPECT_TRUE(Contains(globs, "application/x-lirvane-att:*.att")) << globs;
}

TEST_F(FreedesktopShellTest, UnwritableMimeAppsFailsTheAssociation) {
  fs::create_directories(MimeApps());  // a folder where the file belongs
  dialogs.confirm_answers = {ConfirmAnswer::kYes};
  try {
    AskAttQuestion(nullptr, shell);
    FAIL() << "no error";
  } catch (const StoreError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for ''");
  }
}

// Autorun.

class FreedesktopAutorunTest : public FreedesktopShellTest {
 protected:
  void SetUp() override { frm.SetShellIntegration(&shell); }
  TMainFrm frm;
};

TEST_F(FreedesktopAutorunTest, CommandWritesThenRemovesTheAutostartEntry) {
  EXPECT_FALSE(shell.AutorunEnabled());
  frm.MAutoRun->trigger();
  EXPECT_TRUE(frm.MAutoRun->isChecked());
  const std::string entry = TempXdgHomes::Read(Autostart());
  EXPECT_TRUE(Contains(entry, "\nExec=/opt/lirvane/lirvane -fromautorun\n")) << entry;
  // Menus and sessions pass the entry over once the program is gone.
  EXPECT_TRUE(Contains(entry, "\nTryExec=/opt/lirvane/lirvane\n")) << entry;
  EXPECT_TRUE(Contains(entry, "\nType=Application\n"));
  EXPECT_TRUE(shell.AutorunEnabled());

  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_FALSE(fs::exists(Autostart()));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FreedesktopAutorunTest, AutostartOfQuotedPathKeepsTheSwitchSeparate) {
  FreedesktopShellIntegration spaced("/home/u/My Apps/lirvane", Tools::kSkip);
  spaced.SwitchAutorun(true);
  EXPECT_TRUE(Contains(TempXdgHomes::Read(Autostart()),
                       "\nExec=\"/home/u/My Apps/lirvane\" -fromautorun\n"));
}

TEST_F(FreedesktopAutorunTest, EntryOfAnotherCopyTicksAndTheCommandRemovesIt) {
  TempXdgHomes::Write(Autostart(),
                      "[Desktop Entry]\nType=Application\nExec=/old/lirvane -fromautorun\n");
  SetAutorunCheckMark(frm, shell);
  EXPECT_TRUE(frm.MAutoRun->isChecked());
  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_FALSE(fs::exists(Autostart()));
}

TEST_F(FreedesktopAutorunTest, EmptyExecOrHiddenEntryLeavesTheMarkOff) {
  for (const char* content : {"[Desktop Entry]\nType=Application\nExec=\n",
                              "[Desktop Entry]\nType=Application\n", "[Other]\nExec=/bin/x\n",
                              "[Desktop Entry]\nExec=/old/lirvane -fromautorun\nHidden=true\n"}) {
    TempXdgHomes::Write(Autostart(), content);
    frm.MAutoRun->setChecked(true);
    SetAutorunCheckMark(frm, shell);
    EXPECT_FALSE(frm.MAutoRun->isChecked()) << content;
  }
}

TEST_F(FreedesktopAutorunTest, UnmakeableAutostartFolderShowsErrorAndKeepsTheTick) {
  TempXdgHomes::Write(homes.Config() / "autostart", "a file, not a folder");
  frm.MAutoRun->trigger();
  EXPECT_TRUE(frm.MAutoRun->isChecked());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  // The general error box adds no full stop after a closing quote.
  EXPECT_EQ(dialogs.messages[0].text, "Failed to set data for 'Velkor Lirvane'");
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kError);
  EXPECT_FALSE(shell.AutorunEnabled());

  // Unticking then has nothing to remove and succeeds.
  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace lirvane
