#include "ui/custom_frm.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>

#include "platform/text_pane.h"
#include "recode/recode.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"
#include "ui/name_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

class CustomFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    scheme_file = std::filesystem::path(dir.path().toStdString()) / "circuits.dat";
    std::ofstream(scheme_file, std::ios::binary) << saved_file;
    frm.SetNameFrm(&name_frm);
    frm.FormCreate(scheme_file);
  }

  // Adds the rule from -> to through the two menus and the add button.
  void AddRule(void (TCustomFrm::*from)(), void (TCustomFrm::*to)()) {
    (frm.*from)();
    (frm.*to)();
    frm.AddBtn->click();
  }

  // Answers the name dialog with `name`, accepting or cancelling.
  void AnswerName(const QString& name, bool accept) {
    dialogs.modal_answers.push_back([name, accept](QDialog& dialog) {
      auto& name_dialog = dynamic_cast<TNameFrm&>(dialog);
      if (!name.isNull()) name_dialog.NameEd->setText(name);
      (accept ? name_dialog.StopBtn : name_dialog.Button1)->click();
      return dialog.result();
    });
  }

  QStringList Lines(QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }

  // Four unused rules: 0, empty caption, 0, empty caption each.
  static std::string UnusedRules(int n) {
    std::string lines;
    for (int i = 0; i < n; ++i) lines += "0\r\n\r\n0\r\n\r\n";
    return lines;
  }
  // Two saved schemes: "Koi" (KOI-8-R to Win-1251) and "Empty" (no rules).
  std::string saved_file = "Koi\r\n1\r\n8\r\nKOI-8-R\r\n1251\r\nWin-1251\r\n" + UnusedRules(4) +
                           "Empty\r\n0\r\n" + UnusedRules(5);
  QTemporaryDir dir;
  std::filesystem::path scheme_file;
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm main_frm;
  TCustomFrm frm{&main_frm};
  TNameFrm name_frm;
};

TEST_F(CustomFrmTest, WindowAndControls) {
  EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Схемы перекодировок пользователя"));
  EXPECT_EQ(frm.size(), QSize(340, 127));
  EXPECT_EQ(frm.pos(), QPoint(29, 117));
  EXPECT_TRUE(frm.windowFlags() & Qt::Tool);
  EXPECT_EQ(frm.ExecBtn->geometry(), QRect(137, 101, 65, 25));
  EXPECT_EQ(frm.ListBox1->geometry(), QRect(206, 0, 132, 97));
  EXPECT_EQ(frm.AddBtn->toolTip(), QString::fromUtf8("Добавить правило к НОВОЙ схеме"));
  EXPECT_EQ(frm.FromBtn->text(), "");
  EXPECT_EQ(Lines(frm.ListBox1), QStringList({"Новая схема", "Koi", "Empty"}));
  EXPECT_EQ(frm.Schemes().Count(), 2);
  QStringList items;
  for (QAction* a : frm.FromPopUp->actions()) items << a->text();
  const QStringList pages({"Win-1251", "KOI-8-R", "Alt-866", "Macintosh", "ISO-88595", "UTF-8"});
  EXPECT_EQ(items, pages);
  items.clear();
  for (QAction* a : frm.ToPopUp->actions()) items << a->text();
  EXPECT_EQ(items, pages);
  frm.ISO885951Click();
  EXPECT_EQ(frm.FromBtn->text(), "ISO8859-5");
  EXPECT_EQ(frm.FromCode, 595);
  frm.ToPopUp->findChild<QAction*>("UTF82")->trigger();
  EXPECT_EQ(frm.TargetBtn->text(), "UTF-8");
  EXPECT_EQ(frm.ToCode, 65001);
  EXPECT_EQ(name_frm.windowTitle(), QString::fromUtf8("Ведите имя схемы"));
  EXPECT_TRUE(name_frm.StopBtn->isDefault());
  EXPECT_EQ(name_frm.StopBtn->text(), QString::fromUtf8("&Принять"));
}

TEST_F(CustomFrmTest, RulesUpToFiveThenRefused) {
  frm.AddBtn->click();  // nothing chosen yet: nothing happens
  EXPECT_EQ(frm.CBox->count(), 0);
  frm.KOI8R1Click();
  frm.AddBtn->click();  // target still missing
  EXPECT_EQ(frm.CBox->count(), 0);
  for (int i = 0; i < 5; ++i)
    AddRule(i % 2 ? &TCustomFrm::Win12511Click : &TCustomFrm::KOI8R1Click,
            i % 2 ? &TCustomFrm::KOI8R2Click : &TCustomFrm::Win12512Click);
  EXPECT_EQ(frm.CBox->count(), 5);
  EXPECT_EQ(frm.CBox->item(0)->text(), QString::fromUtf8("Из KOI-8-R в Win-1251"));
  EXPECT_EQ(frm.Schemes().WorkRecord().Count, 5);
  // The count is tested before equality: equal code pages, still "five".
  AddRule(&TCustomFrm::Alt8661Click, &TCustomFrm::Alt8662Click);
  EXPECT_EQ(dialogs.Texts(), std::vector<QString>({"Больше 5-и нельзя!"}));
  EXPECT_EQ(frm.CBox->count(), 5);
}

TEST_F(CustomFrmTest, EqualCodePagesAreRefused) {
  AddRule(&TCustomFrm::Macintosh1Click, &TCustomFrm::Macintosh2Click);
  EXPECT_EQ(dialogs.Texts(), std::vector<QString>({"Кодировки должны быть разными!"}));
  EXPECT_EQ(frm.CBox->count(), 0);
  EXPECT_FALSE(frm.RuleStarted);
}

TEST_F(CustomFrmTest, RunWithNothingSelectedOrWithoutRules) {
  main_frm.MemoF->SetText("text");
  main_frm.MemoF2->SetText("keep");
  frm.ListBox1->clearSelection();
  frm.ExecBtnClick();
  EXPECT_TRUE(dialogs.messages.empty());
  frm.ListBox1->setCurrentRow(0);  // "Новая схема" without rules
  frm.ExecBtnClick();
  frm.ListBox1->setCurrentRow(2);  // a saved scheme without rules
  frm.ExecBtnClick();
  EXPECT_EQ(dialogs.Texts(), std::vector<QString>({"Условия не заданы", "Условия не заданы"}));
  EXPECT_EQ(main_frm.MemoF2->Text(), "keep");
}

TEST_F(CustomFrmTest, TwoRulesAndOneRuleGiveTheSame866Text) {
  const std::string koi = "\xF0\xD2\xC9\xD7\xC5\xD4 \xB3\xA3";  // Привет Ёё
  main_frm.MemoF->SetText(koi);
  AddRule(&TCustomFrm::KOI8R1Click, &TCustomFrm::Win12512Click);
  AddRule(&TCustomFrm::Win12511Click, &TCustomFrm::Alt8662Click);
  frm.ListBox1->setCurrentRow(0);
  frm.ExecBtnClick();
  const std::string alt = WinToAlt(KoiToWin(koi));
  EXPECT_EQ(main_frm.MemoF2->Text(), alt);

  frm.ClearBtnClick();
  EXPECT_EQ(frm.CBox->count(), 0);
  EXPECT_EQ(frm.FromBtn->text(), "Win-1251");  // choices stay
  AddRule(&TCustomFrm::KOI8R1Click, &TCustomFrm::Alt8662Click);
  main_frm.MemoF2->SetText("");
  frm.ListBox1->setCurrentRow(0);
  frm.ExecBtnClick();
  EXPECT_EQ(main_frm.MemoF2->Text(), alt);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CustomFrmTest, SaveCancelAndTheOfferedName) {
  AddRule(&TCustomFrm::KOI8R1Click, &TCustomFrm::Win12512Click);
  AnswerName(QString::fromUtf8("Моя"), false);
  frm.AddToListBtnClick();
  EXPECT_EQ(frm.Schemes().Count(), 2);
  EXPECT_EQ(frm.CBox->count(), 1);  // the rules are still there

  AnswerName(QString::fromUtf8("Моя"), true);
  frm.AddToListBtnClick();
  ASSERT_EQ(frm.Schemes().Count(), 3);
  EXPECT_EQ(frm.Schemes().Slot(3).Name, "\xCC\xEE\xFF");
  EXPECT_EQ(frm.Schemes().Slot(3).Count, 1);
  EXPECT_EQ(frm.Schemes().Slot(3).FromName1, "KOI-8-R");
  EXPECT_EQ(frm.ListBox1->item(3)->text(), QString::fromUtf8("Моя"));
  EXPECT_EQ(frm.CBox->count(), 0);
  EXPECT_FALSE(frm.RuleStarted);
  EXPECT_EQ(frm.Schemes().WorkRecord().Count, 0);

  // The dialog offers the last name; accepting it saves a second "Моя".
  AnswerName(QString(), true);
  frm.AddToListBtnClick();
  ASSERT_EQ(frm.Schemes().Count(), 4);
  EXPECT_EQ(frm.Schemes().Slot(4).Name, "\xCC\xEE\xFF");
  EXPECT_EQ(frm.Schemes().Slot(4).Count, 0);
}

TEST_F(CustomFrmTest, DeleteLastSchemeKeepsTheNewOne) {
  AddRule(&TCustomFrm::KOI8R1Click, &TCustomFrm::Win12512Click);
  frm.ListBox1->setCurrentRow(2);
  frm.CBox->addItem("shown");  // what a look at the scheme left there
  dialogs.confirm_answers = {ConfirmAnswer::kYes};
  frm.DelFromListBtnClick();
  ASSERT_EQ(dialogs.confirmations.size(), 1u);
  EXPECT_EQ(dialogs.confirmations[0].caption, "Confirm");
  EXPECT_EQ(dialogs.confirmations[0].text, QString::fromUtf8("Удалить схему \"Empty\"?"));
  EXPECT_EQ(Lines(frm.ListBox1), QStringList({"Новая схема", "Koi"}));
  EXPECT_EQ(frm.Schemes().Count(), 1);
  EXPECT_TRUE(frm.RuleStarted);
  EXPECT_EQ(frm.Schemes().WorkRecord().Count, 1);
}

TEST_F(CustomFrmTest, DeleteAnotherSchemeResetsTheNewOne) {
  AddRule(&TCustomFrm::KOI8R1Click, &TCustomFrm::Win12512Click);
  frm.ListBox1->setCurrentRow(1);
  dialogs.confirm_answers = {ConfirmAnswer::kNo};
  frm.DelFromListBtnClick();
  EXPECT_EQ(frm.Schemes().Count(), 2);
  dialogs.confirm_answers = {ConfirmAnswer::kYes};
  frm.ListBox1->setCurrentRow(1);
  frm.DelFromListBtnClick();
  EXPECT_EQ(Lines(frm.ListBox1), QStringList({"Новая схема", "Empty"}));
  EXPECT_EQ(frm.Schemes().Slot(1).Name, "Empty");
  EXPECT_EQ(frm.CBox->count(), 0);
  EXPECT_FALSE(frm.RuleStarted);
  // The names and the schemes they run stay matched.
  frm.ListBox1->setCurrentRow(1);
  frm.ExecBtnClick();
  EXPECT_EQ(dialogs.Texts().back(), QString::fromUtf8("Условия не заданы"));
}

TEST_F(CustomFrmTest, DeleteWithoutASavedSchemeSelected) {
  frm.ListBox1->setCurrentRow(0);
  frm.DelFromListBtnClick();
  frm.ListBox1->clearSelection();
  frm.DelFromListBtnClick();
  EXPECT_EQ(dialogs.Texts(), std::vector<QString>(2, "Не выбрана удаляемая схема"));
  EXPECT_TRUE(dialogs.confirmations.empty());
}

TEST_F(CustomFrmTest, ListASavedSchemeThenAddARule) {
  frm.ListBox1->setCurrentRow(1);  // "Koi", one rule
  EXPECT_EQ(Lines(frm.CBox), QStringList({"Из KOI-8-R в Win-1251"}));
  AddRule(&TCustomFrm::Win12511Click, &TCustomFrm::Alt8662Click);
  const TCustomCode& work = frm.Schemes().WorkRecord();
  EXPECT_EQ(work.Count, 2);
  EXPECT_EQ(work.From1, 0);  // rule 1 is empty
  EXPECT_EQ(work.FromName1, "");
  EXPECT_EQ(work.From2, 1251);
  EXPECT_EQ(work.To2, 866);
  frm.ListBox1->setCurrentRow(0);
  EXPECT_EQ(Lines(frm.CBox), QStringList({"Из  в ", "Из Win-1251 в Alt-866"}));
}

}  // namespace
}  // namespace lirvane
