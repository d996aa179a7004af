// The registry realisation, run against a real SQLite store through the
// store accessor: the exact keys and values, the first-run question, and
// the autorun command of the main window.
#include "platform/shell/windows_shell_integration.h"

#include <gtest/gtest.h>

#include <QAction>
#include <memory>

#include "app/shell_integration.h"
#include "platform/store/store_accessor.h"
#include "platform/store/sqlite_store_backend.h"
#include "tests/support/temp_xdg_homes.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TempXdgHomes;

constexpr char kExe[] = "C:\\Lirvane\\lirvane.exe";
const QString kAttQuestion =
    QString::fromUtf8("Ассоциировать программу с ATT-файлами (рекомендуется)?");

class WindowsShellTest : public ::testing::Test {
 protected:
  std::unique_ptr<StoreAccessor> OpenStore(
      SqliteStoreBackend::Access access = SqliteStoreBackend::Access::kReadWriteElseReadOnly) {
    return std::make_unique<StoreAccessor>(
        std::make_unique<SqliteStoreBackend>(homes.DatabaseFile(), access));
  }

  // The unnamed or named value as a fresh store reads it back from disk.
  std::string Read(StoreRoot root, std::string_view key, std::string_view name = "") {
    auto store = OpenStore();
    store->SetRoot(root);
    if (!store->OpenKey(key, false)) return "<no key>";
    StoreReadResult result = store->Backend().ReadValue(root, key, name);
    if (result.status != StoreReadStatus::kFound) return "<no value>";
    return result.value.bytes;
  }

  bool KeyExists(StoreRoot root, std::string_view key) {
    return OpenStore()->Backend().KeyExists(root, key);
  }

  void MakeRunKey() {
    auto store = OpenStore();
    ASSERT_TRUE(store->OpenKey(kRunKey, true));
  }

  TempXdgHomes homes;
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
};

TEST_F(WindowsShellTest, ShellVerbsAreTheExactValues) {
  auto store = OpenStore();
  WindowsShellIntegration shell(*store, kExe);
  WriteShellVerbsAtStart(shell);

  const std::string expected = "C:\\Lirvane\\lirvane.exe \"%1\"";
  EXPECT_EQ(Read(StoreRoot::kClassesRoot, "\\txtfile\\shell\\Lirvane\\command"), expected);
  EXPECT_EQ(Read(StoreRoot::kClassesRoot, "\\htmlfile\\shell\\Lirvane\\command"), expected);
  // The verb key itself has no value, so the menu shows the key's name.
  EXPECT_EQ(Read(StoreRoot::kClassesRoot, "\\txtfile\\shell\\Lirvane"), "<no value>");
  // Nothing lands under the machine root, and no association is made.
  EXPECT_FALSE(KeyExists(StoreRoot::kLocalMachine, "\\txtfile"));
  EXPECT_FALSE(KeyExists(StoreRoot::kClassesRoot, "\\.ATT"));
}

TEST_F(WindowsShellTest, MovedCopyRewritesBothVerbs) {
  auto store = OpenStore();
  WindowsShellIntegration first(*store, kExe);
  first.WriteShellVerbs();
  WindowsShellIntegration moved(*store, "D:\\Tools\\lirvane.exe");
  moved.WriteShellVerbs();

  EXPECT_EQ(Read(StoreRoot::kClassesRoot, kTxtVerbKey), "D:\\Tools\\lirvane.exe \"%1\"");
  EXPECT_EQ(Read(StoreRoot::kClassesRoot, kHtmlVerbKey), "D:\\Tools\\lirvane.exe \"%1\"");
}

TEST_F(WindowsShellTest, PathWithBlankIsQuotedSoTheFileStaysFirstArgument) {
  auto store = OpenStore();
  WindowsShellIntegration shell(*store, "C:\\Program Files\\x\\lirvane.exe");
  shell.WriteShellVerbs();
  EXPECT_EQ(Read(StoreRoot::kClassesRoot, kTxtVerbKey),
            "\"C:\\Program Files\\x\\lirvane.exe\" \"%1\"");
  EXPECT_EQ(shell.AutorunCommand(), "\"C:\\Program Files\\x\\lirvane.exe\" -fromautorun");
}

TEST_F(WindowsShellTest, WritesLeaveTheAccessorOnTheMachineRootWithNoKeyOpen) {
  // Settings written next must not land among the file classes, also
  // after a failed write.
  auto store = OpenStore();
  WindowsShellIntegration shell(*store, kExe);
  shell.WriteShellVerbs();
  EXPECT_EQ(store->Root(), StoreRoot::kLocalMachine);
  EXPECT_EQ(store->CurrentKey(), "");
  shell.WriteAttAssociation();
  EXPECT_EQ(store->Root(), StoreRoot::kLocalMachine);

  auto read_only = OpenStore(SqliteStoreBackend::Access::kReadOnly);
  WindowsShellIntegration refused(*read_only, kExe);
  EXPECT_THROW(refused.WriteShellVerbs(), StoreError);
  EXPECT_EQ(read_only->Root(), StoreRoot::kLocalMachine);
}

TEST_F(WindowsShellTest, UnwritableStoreFailsTheVerbsWithTheMessage) {
  auto store = OpenStore(SqliteStoreBackend::Access::kReadOnly);
  WindowsShellIntegration shell(*store, kExe);
  try {
    WriteShellVerbsAtStart(shell);
    FAIL() << "no error";
  } catch (const StoreError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for ''");
  }
}

// The ".ATT" question.

TEST_F(WindowsShellTest, AttQuestionNoWritesNothing) {
  auto store = OpenStore();
  WindowsShellIntegration shell(*store, kExe);
  dialogs.confirm_answers = {ConfirmAnswer::kNo};
  AskAttQuestion(nullptr, shell);

  ASSERT_EQ(dialogs.confirmations.size(), 1u);
  EXPECT_EQ(dialogs.confirmations[0].caption, "Confirm");
  EXPECT_EQ(dialogs.confirmations[0].text, kAttQuestion);
  EXPECT_FALSE(KeyExists(StoreRoot::kClassesRoot, "\\.ATT"));
  EXPECT_FALSE(KeyExists(StoreRoot::kClassesRoot, "\\ATTfile"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowsShellTest, AttQuestionYesAndClosingBothWriteTheAssociation) {
  for (ConfirmAnswer answer : {ConfirmAnswer::kYes, ConfirmAnswer::kClosed}) {
    TempXdgHomes fresh;  // a store of its own for each answer
    auto store =
        std::make_unique<StoreAccessor>(std::make_unique<SqliteStoreBackend>(fresh.DatabaseFile()));
    WindowsShellIntegration shell(*store, kExe);
    dialogs.confirm_answers = {answer};
    AskAttQuestion(nullptr, shell);

    SqliteStoreBackend check(fresh.DatabaseFile());
    EXPECT_EQ(check.ReadValue(StoreRoot::kClassesRoot, "\\.ATT", "").value.bytes, "ATTfile");
    EXPECT_EQ(
        check.ReadValue(StoreRoot::kClassesRoot, "\\ATTfile\\shell\\open\\command", "").value.bytes,
        "C:\\Lirvane\\lirvane.exe \"%1\"");
  }
}

TEST_F(WindowsShellTest, AttAssociationOverwritesAnotherProgram) {
  {
    auto store = OpenStore();
    ASSERT_TRUE(store->OpenKey("\\x", true));  // make the database
    store->SetRoot(StoreRoot::kClassesRoot);
    ASSERT_TRUE(store->OpenKey("\\.ATT", true));
    store->WriteString("", "OtherFile");
  }
  auto store = OpenStore();
  WindowsShellIntegration shell(*store, kExe);
  dialogs.confirm_answers = {ConfirmAnswer::kYes};
  AskAttQuestion(nullptr, shell);
  EXPECT_EQ(Read(StoreRoot::kClassesRoot, "\\.ATT"), "ATTfile");
}

TEST_F(WindowsShellTest, AttQuestionOnUnwritableStoreThrows) {
  auto store = OpenStore(SqliteStoreBackend::Access::kReadOnly);
  WindowsShellIntegration shell(*store, kExe);
  dialogs.confirm_answers = {ConfirmAnswer::kYes};
  EXPECT_THROW(AskAttQuestion(nullptr, shell), StoreError);
}

// Autorun, through the main window's command.

class WindowsAutorunTest : public WindowsShellTest {
 protected:
  void SetUp() override {
    store = OpenStore();
    shell = std::make_unique<WindowsShellIntegration>(*store, kExe);
    frm.SetShellIntegration(shell.get());
  }

  std::unique_ptr<StoreAccessor> store;
  std::unique_ptr<WindowsShellIntegration> shell;
  TMainFrm frm;
};

TEST_F(WindowsAutorunTest, WithoutRunKeyTheCommandDoesNothing) {
  EXPECT_FALSE(shell->AutorunEnabled());
  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_TRUE(dialogs.messages.empty());
  // The Run key belongs to the system and is never created.
  EXPECT_FALSE(KeyExists(StoreRoot::kLocalMachine, kRunKey));
  EXPECT_EQ(shell->SwitchAutorun(true), AutorunSwitch::kRunKeyUnavailable);
  EXPECT_FALSE(KeyExists(StoreRoot::kLocalMachine, kRunKey));
}

TEST_F(WindowsAutorunTest, CommandWritesThenDeletesTheValue) {
  MakeRunKey();
  frm.MAutoRun->trigger();
  EXPECT_TRUE(frm.MAutoRun->isChecked());
  EXPECT_EQ(Read(StoreRoot::kLocalMachine, kRunKey, "Velkor Lirvane"),
            "C:\\Lirvane\\lirvane.exe -fromautorun");
  EXPECT_TRUE(shell->AutorunEnabled());

  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_EQ(Read(StoreRoot::kLocalMachine, kRunKey, "Velkor Lirvane"), "<no value>");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowsAutorunTest, EntryOfAnotherCopyTicksAndTheCommandRemovesIt) {
  MakeRunKey();
  {
    auto other = OpenStore();
    ASSERT_TRUE(other->OpenKey(kRunKey, false));
    other->WriteString("Velkor Lirvane", "E:\\Old\\lirvane.exe -fromautorun");
  }
  SetAutorunCheckMark(frm, *shell);
  EXPECT_TRUE(frm.MAutoRun->isChecked());

  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_EQ(Read(StoreRoot::kLocalMachine, kRunKey, "Velkor Lirvane"), "<no value>");
}

TEST_F(WindowsAutorunTest, CheckMarkIsOffForEmptyOrForeignValues) {
  MakeRunKey();
  frm.MAutoRun->setChecked(true);
  SetAutorunCheckMark(frm, *shell);  // no value
  EXPECT_FALSE(frm.MAutoRun->isChecked());

  auto other = OpenStore();
  ASSERT_TRUE(other->OpenKey(kRunKey, false));
  other->WriteString("Velkor Lirvane", "");
  frm.MAutoRun->setChecked(true);
  SetAutorunCheckMark(frm, *shell);
  EXPECT_FALSE(frm.MAutoRun->isChecked());

  other->WriteInteger("Velkor Lirvane", 1);  // another kind: a failed read
  frm.MAutoRun->setChecked(true);
  SetAutorunCheckMark(frm, *shell);
  EXPECT_FALSE(frm.MAutoRun->isChecked());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowsAutorunTest, ReadingTheMarkKeepsTheCallersKeyCurrent) {
  MakeRunKey();
  ASSERT_TRUE(store->OpenKey("\\SOFTWARE\\Velkor\\Lirvane\\Program", true));
  SetAutorunCheckMark(frm, *shell);
  EXPECT_EQ(store->Root(), StoreRoot::kLocalMachine);
  EXPECT_EQ(store->CurrentKey(), "\\SOFTWARE\\Velkor\\Lirvane\\Program");

  store->SetRoot(StoreRoot::kClassesRoot);  // and the caller's root
  SetAutorunCheckMark(frm, *shell);
  EXPECT_EQ(store->Root(), StoreRoot::kClassesRoot);
}

TEST_F(WindowsAutorunTest, RefusedWriteShowsErrorAndLeavesTheTick) {
  MakeRunKey();
  auto read_only = OpenStore(SqliteStoreBackend::Access::kReadOnly);
  WindowsShellIntegration refused(*read_only, kExe);
  frm.SetShellIntegration(&refused);

  frm.MAutoRun->trigger();
  EXPECT_TRUE(frm.MAutoRun->isChecked());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  // The general error box adds no full stop after a closing quote.
  EXPECT_EQ(dialogs.messages[0].text, "Failed to set data for 'Velkor Lirvane'");
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(Read(StoreRoot::kLocalMachine, kRunKey, "Velkor Lirvane"), "<no value>");
}

TEST_F(WindowsAutorunTest, RefusedRemovalKeepsTheTickAndSaysSo) {
  MakeRunKey();
  ASSERT_EQ(shell->SwitchAutorun(true), AutorunSwitch::kSwitched);
  auto read_only = OpenStore(SqliteStoreBackend::Access::kReadOnly);
  WindowsShellIntegration refused(*read_only, kExe);
  frm.SetShellIntegration(&refused);
  SetAutorunCheckMark(frm, refused);
  ASSERT_TRUE(frm.MAutoRun->isChecked());

  frm.MAutoRun->trigger();
  EXPECT_TRUE(frm.MAutoRun->isChecked());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Failed to set data for 'Velkor Lirvane'");
  EXPECT_NE(Read(StoreRoot::kLocalMachine, kRunKey, "Velkor Lirvane"), "<no value>");
}

TEST_F(WindowsAutorunTest, WithoutShellIntegrationTheMarkDoesNotMove) {
  frm.SetShellIntegration(nullptr);
  frm.MAutoRun->trigger();
  EXPECT_FALSE(frm.MAutoRun->isChecked());
}

}  // namespace
}  // namespace lirvane
