// "Авто" in the main window: the menu item, the CodeBar button and the
// status line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "platform/dock_toolbar.h"
#include "platform/pane_text_codec.h"
#include "platform/text_pane.h"
#include "recode/recode.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

// Windows-1251 bytes of a UTF-8 literal.
std::string Win(const char* utf8) { return PaneTextToBytes(QString::fromUtf8(utf8)); }

class AutoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
  }

  QString Status() {
    auto* bar = frm.findChild<QStatusBar*>("StatusBar");
    return bar ? bar->currentMessage() : QString();
  }

  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
  const std::string original = Win(
      "Кодировка текста определяется по частотам букв и их сочетаний, "
      "после чего цепочка перекодировок применяется ко всему тексту.");
};

TEST_F(AutoTest, MenuItemAndButtonAreThere) {
  ASSERT_NE(frm.AutoWin1, nullptr);
  EXPECT_EQ(frm.AutoWin1->text(), QString::fromUtf8("Авто"));
  EXPECT_EQ(frm.AutoWin1->shortcut(), QKeySequence("Alt+0"));
  EXPECT_TRUE(frm.CodeM->actions().contains(frm.AutoWin1));
  ASSERT_NE(frm.BtnAuto, nullptr);
  EXPECT_EQ(frm.BtnAuto->text(), QString::fromUtf8("Авто"));
  EXPECT_EQ(frm.BtnAuto->toolTip(), QString::fromUtf8("Определить кодировку и перекодировать в Win"));
  // Last on the recoding toolbar.
  ASSERT_FALSE(frm.CodeBar->actions().isEmpty());
  EXPECT_EQ(frm.CodeBar->widgetForAction(frm.CodeBar->actions().last()), frm.BtnAuto);
}

TEST_F(AutoTest, ButtonUndoesKoiAndSaysSo) {
  frm.MemoF->SetText(Recode(original, -8));
  QTest::mouseClick(frm.BtnAuto, Qt::LeftButton);
  EXPECT_EQ(frm.MemoF2->Text(), original);
  EXPECT_EQ(frm.MemoF->Text(), Recode(original, -8));  // the source stays
  EXPECT_TRUE(Status().startsWith(QString::fromUtf8("Авто: Koi->Win"))) << Status().toStdString();
}

TEST_F(AutoTest, MenuItemUndoesTwoWrongRecodings) {
  // Recoded into KOI8-R twice: "Koi->Koi->Win" undone.
  frm.MemoF->SetText(Recode(Recode(original, -8), -8));
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Text(), original);
  EXPECT_TRUE(Status().startsWith(QString::fromUtf8("Авто: дважды Koi->Win"))) << Status().toStdString();
}

TEST_F(AutoTest, AltZeroRunsIt) {
  frm.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
  frm.MemoF->SetText(Recode(original, -595));
  frm.MemoF->setFocus();
  QTest::keyClick(&frm, Qt::Key_0, Qt::AltModifier);
  EXPECT_EQ(frm.MemoF2->Text(), original);
}

TEST_F(AutoTest, TextAlreadyInWinIsCopiedAndNamed) {
  frm.MemoF->SetText(original);
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Text(), original);
  EXPECT_EQ(Status(), QString::fromUtf8("Авто: текст уже в Win-1251"));
}

TEST_F(AutoTest, NothingToJudgeLeavesResultPane) {
  frm.MemoF2->SetText("kept");
  frm.MemoF->SetText("Hello, world 12345");
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Text(), "kept");
  EXPECT_EQ(Status(), QString::fromUtf8("Авто: слишком мало русских букв, чтобы определить кодировку"));
}

TEST_F(AutoTest, ButtonFollowsButtonView) {
  for (QAction* view : {frm.MStext, frm.MSpic, frm.MSboth}) {
    view->trigger();
    EXPECT_EQ(frm.BtnAuto->toolButtonStyle(), frm.Btn0->toolButtonStyle()) << view->text().toStdString();
    EXPECT_EQ(frm.BtnAuto->text().isEmpty(), frm.Btn0->text().isEmpty());
    EXPECT_EQ(frm.BtnAuto->icon().isNull(), frm.Btn0->icon().isNull());
    EXPECT_EQ(frm.BtnAuto->height(), frm.Btn0->height());
  }
}

}  // namespace
}  // namespace lirvane
