// Files → "Исправить папку...": the chosen folder checked into a list,
// the preview of a selected file, and the ticked files repaired.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "recode/recode.h"
#include "recode/utf8_recode.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/fix_folder_frm.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

const std::string kRussian =
    "Осенний лес стоял тихо, и только ветер шевелил последние жёлтые листья.\n"
    "Мы шли по узкой тропинке к реке, где старый мельник держал лодку.\n";

class FixFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  void Write(const QString& name, const std::string& content) {
    QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
  }

  std::string Read(const QString& name) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
  }

  QTemporaryDir dir;
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
};

// Rows of the list: file, state, and whether it is ticked (-1: no box).
struct Row {
  QString file, state;
  int ticked;
  friend bool operator==(const Row&, const Row&) = default;
};
void PrintTo(const Row& row, std::ostream* os) {
  *os << row.file.toStdString() << " | " << row.state.toStdString() << " | " << row.ticked;
}

std::vector<Row> Rows(const TFixFolderFrm& frm) {
  std::vector<Row> rows;
  for (int i = 0; i < frm.FileList->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = frm.FileList->topLevelItem(i);
    const bool box = !item->data(0, Qt::CheckStateRole).isNull();
    rows.push_back({item->text(0), item->text(1),
                    box ? static_cast<int>(item->checkState(0) == Qt::Checked) : -1});
  }
  return rows;
}

TEST_F(FixFolderTest, ChecksPreviewsAndRepairsTheTickedFiles) {
  Write("a-right.txt", kRussian);
  Write("b-koi.txt", Recode(Utf8ToWin(kRussian), -8));
  Write("old/c-garbled.txt", WinToUtf8(kRussian));
  Write("old/d-also.txt", WinToUtf8(kRussian));
  dialogs.folder_answers.push_back(dir.path());
  std::vector<Row> listed, after;
  QString preview;
  dialogs.modal_answers.push_back([&](QDialog& dialog) {
    auto& fix = static_cast<TFixFolderFrm&>(dialog);
    listed = Rows(fix);
    EXPECT_EQ(fix.FolderLabel->text(), dir.path());
    fix.FileList->setCurrentItem(fix.FileList->topLevelItem(2));
    preview = fix.Preview->toPlainText();
    fix.FileList->topLevelItem(3)->setCheckState(0, Qt::Unchecked);  // not this one
    fix.FixBtn->click();
    after = Rows(fix);
    fix.CloseBtn->click();
    return fix.result();
  });
  frm.FixFolderSMClick();

  ASSERT_EQ(dialogs.folder_requests, std::vector<QString>{QString::fromUtf8("Выберите папку")});
  EXPECT_EQ(listed, (std::vector<Row>{
                        {"a-right.txt", "ok utf-8", -1},
                        {"b-koi.txt", "ok koi8-r", 1},
                        {"old/c-garbled.txt", "fix utf-8>windows-1251", 1},
                        {"old/d-also.txt", "fix utf-8>windows-1251", 1},
                    }));
  EXPECT_EQ(preview.toStdString(), kRussian);
  EXPECT_EQ(after, (std::vector<Row>{
                       {"a-right.txt", "ok utf-8", -1},
                       {"b-koi.txt", "fixed ok koi8-r", -1},
                       {"old/c-garbled.txt", "fixed fix utf-8>windows-1251", -1},
                       {"old/d-also.txt", "fix utf-8>windows-1251", 0},
                   }));
  EXPECT_EQ(Read("b-koi.txt"), kRussian);
  EXPECT_EQ(Read("old/c-garbled.txt"), kRussian);
  EXPECT_EQ(Read("old/d-also.txt"), WinToUtf8(kRussian));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FixFolderTest, NoFolderChosenNoWindow) {
  frm.FixFolderSMClick();
  EXPECT_EQ(dialogs.folder_requests.size(), 1u);
  EXPECT_TRUE(dialogs.modal_answers.empty());
}

}  // namespace
}  // namespace lirvane
