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
  const std::string original =
      Win("Кодировка текста определяется по частотам букв и их сочетаний, "
          "после чего цепочка перекодировок применяется ко всему тексту.");
};

TEST_F(AutoTest, MenuItemAndButtonAreThere) {
  ASSERT_NE(frm.AutoWin1, nullptr);
  EXPECT_EQ(frm.AutoWin1->text(), QString::fromUtf8("Авто"));
  EXPECT_EQ(frm.AutoWin1->shortcut(), QKeySequence("Alt+0"));
  EXPECT_TRUE(frm.CodeM->actions().contains(frm.AutoWin1));
  ASSERT_NE(frm.BtnAuto, nullptr);
  EXPECT_EQ(frm.BtnAuto->text(), QString::fromUtf8("Авто"));
  EXPECT_EQ(frm.BtnAuto->toolTip(),
            QString::fromUtf8("Определить кодировку и перекодировать в Win"));
  // Last on the recoding toolbar.
  ASSERT_FALSE(frm.CodeBar->actions().isEmpty());
  EXPECT_EQ(frm.CodeBar->widgetForAction(frm.CodeBar->actions().last()), frm.BtnAuto);
}

TEST_F(AutoTest, ButtonUndoesKoiAndSaysSo) {
  frm.MemoF->SetText(Recode(original, -8));
  QTest::mouseClick(frm.BtnAuto, Qt::LeftButton);
  EXPECT_EQ(frm.MemoF2->Text(), original);
  EXPECT_EQ(frm.MemoF->Text(), Recode(original, -8));  // the source stays
  EXPECT_EQ(Status(), QString::fromUtf8("Авто: KOI8-R, прочитанный как Windows-1251"));
}

TEST_F(AutoTest, MenuItemUndoesTwoWrongRecodings) {
  // Recoded into KOI8-R twice: "Koi->Koi->Win" undone.
  frm.MemoF->SetText(Recode(Recode(original, -8), -8));
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Text(), original);
  EXPECT_EQ(Status(), QString::fromUtf8("Авто: KOI8-R, прочитанный как Windows-1251, дважды"));
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
  EXPECT_TRUE(Status().endsWith(QString::fromUtf8("текст не изменён"))) << Status().toStdString();
}

// With nothing to judge, the result pane shows this text unchanged, not
// whatever an earlier command left there, and the status line says why.
TEST_F(AutoTest, NothingToJudgeShowsTheTextUnchanged) {
  frm.MemoF2->SetText("an earlier result");
  frm.MemoF->SetText("Hello, world 12345");
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Text(), "Hello, world 12345");
  EXPECT_EQ(Status(),
            QString::fromUtf8("Авто: слишком мало русских букв, чтобы судить; текст не изменён"));
}

// Today's garbling, as pasted: UTF-8 read as Windows-1251.
TEST_F(AutoTest, UndoesUtf8ReadAsWindows1251) {
  frm.MemoF->SetText(Recode(original, -65001));  // the UTF-8 bytes, shown as 1251
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Text(), original);
  EXPECT_EQ(Status(), QString::fromUtf8("Авто: UTF-8, прочитанный как Windows-1251"));
}

// Pasted text Windows-1251 cannot hold: repaired as characters.
TEST_F(AutoTest, UndoesUtf8ReadAsWindows1252AsPasted) {
  // As a browser shows it: the bytes 0x81 and 0x8F that Windows-1252 lacks
  // as the C1 characters of the same value.
  frm.MemoF->SetUtf8Text(
      "ÐŸÑ€Ð¸Ð²ÐµÑ‚, Ð¼Ð¸Ñ€! ÐšÐ°Ðº Ð´ÐµÐ»Ð° Ñƒ Ñ‚ÐµÐ±Ñ\u008F Ñ\u0081ÐµÐ³Ð¾Ð´Ð½Ñ\u008F?");
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Utf8Text(), "Привет, мир! Как дела у тебя сегодня?");
}

TEST_F(AutoTest, CorrectTextWithCharactersWindows1251LacksStaysWhole) {
  const std::string text = "Привет 😀, как дела? Всё хорошо, café и 中文 на месте.";
  frm.MemoF->SetUtf8Text(text);
  frm.AutoWin1->trigger();
  EXPECT_EQ(frm.MemoF2->Utf8Text(), text);
}

TEST_F(AutoTest, ButtonFollowsButtonView) {
  for (QAction* view : {frm.MStext, frm.MSpic, frm.MSboth}) {
    view->trigger();
    EXPECT_EQ(frm.BtnAuto->toolButtonStyle(), frm.Btn0->toolButtonStyle())
        << view->text().toStdString();
    EXPECT_EQ(frm.BtnAuto->text().isEmpty(), frm.Btn0->text().isEmpty());
    EXPECT_EQ(frm.BtnAuto->icon().isNull(), frm.Btn0->icon().isNull());
    EXPECT_EQ(frm.BtnAuto->height(), frm.Btn0->height());
  }
}

}  // namespace
}  // namespace lirvane
