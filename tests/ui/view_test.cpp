// The View menu and the toolbars, on a real main window offscreen. Menu
// items are chosen through QAction::trigger(), so Qt inverts the check mark
// before the handler runs, as a click does.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <array>
#include <memory>

#include "platform/dock_toolbar.h"
#include "platform/text_pane.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

const std::array<const char*, 11> kCaptions = {"Koi->Win", "Win->Koi", "Alt->Win", "Win->Alt",
                                               "Koi>>Win", "Iso->Win", "Mac->Win", "Uni->Win",
                                               "По схеме", "Utf->Win", "Win->Utf"};

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    QApplication::processEvents();
  }

  std::array<QToolButton*, 11> Buttons() const {
    return {frm.Btn0, frm.Btn1, frm.Btn2, frm.Btn3, frm.Btn4, frm.Btn5,
            frm.Btn6, frm.Btn7, frm.Btn8, frm.Btn9, frm.Btn10};
  }

  // Every recoding button shows a picture / its caption, and is `height` high.
  void ExpectButtons(bool pictures, bool captions, int height) const {
    const auto buttons = Buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
      SCOPED_TRACE(buttons[i]->objectName().toStdString());
      EXPECT_EQ(!buttons[i]->icon().isNull(), pictures);
      EXPECT_EQ(buttons[i]->text(), captions ? QString::fromUtf8(kCaptions[i]) : QString());
      EXPECT_EQ(buttons[i]->height(), height);
    }
  }

  // Which of "Только картинки", "Картинки и текст", "Только текст" is checked.
  std::array<bool, 3> ModeMarks() const {
    return {frm.MSpic->isChecked(), frm.MSboth->isChecked(), frm.MStext->isChecked()};
  }

  std::array<int, 3> Rows() const {
    return {frm.CodeBar->Row(), frm.FileBar->Row(), frm.PathBar->Row()};
  }

  // A floating toolbar as Qt makes one: a frameless tool window.
  static void Float(DockToolBar* bar) {
    bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    bar->show();
    QApplication::processEvents();
    ASSERT_TRUE(bar->isFloating());
  }

  int ResultSize() const { return frm.MemoF2->font().pointSize(); }

  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
};

TEST_F(ViewTest, StartsWithPicturesAndCaptionsInTheDesignLayout) {
  ExpectButtons(true, true, 42);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(Rows(), (std::array<int, 3>{0, 1, 1}));
  for (DockToolBar* bar : {frm.CodeBar, frm.FileBar, frm.PathBar}) {
    EXPECT_EQ(bar->CurrentDock(), DockToolBar::kUpDock);
    EXPECT_TRUE(bar->isMovable());
    EXPECT_TRUE(bar->isFloatable());
    EXPECT_FALSE(bar->CloseButton()->isVisible());
  }
  EXPECT_EQ(frm.CodeBar->Position(), 0);
  EXPECT_EQ(frm.FileBar->Position(), 0);
  EXPECT_EQ(frm.PathBar->Position(), 247);
  // What the rows say is what the window shows.
  EXPECT_LT(frm.CodeBar->y(), frm.FileBar->y());
  EXPECT_EQ(frm.FileBar->y(), frm.PathBar->y());
  EXPECT_LT(frm.FileBar->x(), frm.PathBar->x());
}

TEST_F(ViewTest, ButtonModesSetPicturesCaptionsHeightsAndMarks) {
  frm.MSpic->trigger();
  ExpectButtons(true, false, 28);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{true, false, false}));
  EXPECT_TRUE(frm.Options().show_pictures);
  EXPECT_FALSE(frm.Options().show_captions);

  frm.MStext->trigger();
  ExpectButtons(false, true, 21);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{false, false, true}));
  EXPECT_FALSE(frm.Options().show_pictures);
  EXPECT_TRUE(frm.Options().show_captions);

  frm.MSboth->trigger();
  ExpectButtons(true, true, 42);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{false, true, false}));
}

TEST_F(ViewTest, ChoosingTheCheckedModeAgainChangesNothing) {
  frm.MSpic->trigger();
  frm.MSpic->trigger();
  ExpectButtons(true, false, 28);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{true, false, false}));
  frm.MSboth->trigger();
  frm.MSboth->trigger();
  ExpectButtons(true, true, 42);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{false, true, false}));
}

TEST_F(ViewTest, BothOptionsClearShowNothingAndKeepHeightAndMarks) {
  frm.MStext->trigger();
  frm.Options().show_pictures = false;
  frm.Options().show_captions = false;
  frm.SetButtonView();
  ExpectButtons(false, false, 21);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{false, false, true}));

  // As the stored settings can leave it: no mark to begin with, none after.
  frm.MStext->setChecked(false);
  frm.SetButtonView();
  ExpectButtons(false, false, 21);
  EXPECT_EQ(ModeMarks(), (std::array<bool, 3>{false, false, false}));
}

TEST_F(ViewTest, PathBarComesAndGoesWithoutTouchingRows) {
  frm.FileBar->SetRow(0);  // as if dragged up beside CodeBar
  ASSERT_EQ(Rows(), (std::array<int, 3>{0, 0, 1}));

  frm.MShowList->trigger();
  EXPECT_TRUE(frm.PathBar->isHidden());
  EXPECT_FALSE(frm.MShowList->isChecked());
  EXPECT_EQ(Rows(), (std::array<int, 3>{0, 0, 1}));

  frm.MShowList->trigger();
  EXPECT_FALSE(frm.PathBar->isHidden());
  EXPECT_TRUE(frm.MShowList->isChecked());
  EXPECT_EQ(Rows(), (std::array<int, 3>{0, 0, 1}));
}

TEST_F(ViewTest, CodeBarAndFileBarComeAndGoOnTheRememberedRows) {
  frm.FileBar->SetRow(0);
  frm.MShowCode->trigger();
  EXPECT_TRUE(frm.CodeBar->isHidden());
  EXPECT_FALSE(frm.MShowCode->isChecked());
  EXPECT_EQ(frm.FileBar->Row(), frm.Options().file_bar_row);

  frm.FileBar->SetRow(0);
  frm.MShowCode->trigger();
  EXPECT_FALSE(frm.CodeBar->isHidden());
  EXPECT_TRUE(frm.MShowCode->isChecked());
  EXPECT_EQ(Rows(), (std::array<int, 3>{0, 1, 1}));

  // The same through "Главная"; PathBar, hidden meanwhile, stays hidden
  // and on its row.
  frm.MShowList->trigger();
  frm.CodeBar->SetRow(1);
  ASSERT_EQ(Rows(), (std::array<int, 3>{1, 0, 0}));
  frm.MShowFile->trigger();
  EXPECT_TRUE(frm.FileBar->isHidden());
  EXPECT_EQ(frm.CodeBar->Row(), 0);
  frm.MShowFile->trigger();
  EXPECT_FALSE(frm.FileBar->isHidden());
  EXPECT_TRUE(frm.MShowFile->isChecked());
  EXPECT_TRUE(frm.PathBar->isHidden());
  EXPECT_EQ(Rows(), (std::array<int, 3>{0, 1, 0}));
  QApplication::processEvents();
  EXPECT_LT(frm.CodeBar->y(), frm.FileBar->y());
}

TEST_F(ViewTest, FloatingToolbarsShowTheirCaptionBesideTheClose) {
  for (DockToolBar* bar : {frm.CodeBar, frm.FileBar, frm.PathBar}) {
    EXPECT_FALSE(bar->Caption()->isVisible());  // docked: no caption
    Float(bar);
    QApplication::processEvents();
    ASSERT_TRUE(bar->Caption()->isVisible()) << bar->windowTitle().toStdString();
    EXPECT_TRUE(bar->CloseButton()->isVisible());
    EXPECT_EQ(bar->Caption()->text(), bar->windowTitle());
    EXPECT_LT(bar->Caption()->x(), bar->CloseButton()->x());
    EXPECT_GT(bar->Caption()->width(), 20);
  }
  EXPECT_EQ(frm.CodeBar->Caption()->text(), QString::fromUtf8("Перекодировки"));
  EXPECT_EQ(frm.FileBar->Caption()->text(), QString::fromUtf8("Главная"));
  EXPECT_EQ(frm.PathBar->Caption()->text(), QString::fromUtf8("Список файлов"));
  frm.CodeBar->SetDock(DockToolBar::kUpDock);
  QApplication::processEvents();
  EXPECT_FALSE(frm.CodeBar->Caption()->isVisible());
}

// The menu a right click on the toolbars or the menu bar brings up.
TEST_F(ViewTest, ToolbarsRightClickMenuIsTheViewMenusPanels) {
  const auto plain = [](QString text) { return text.remove('&'); };
  QStringList panels;
  for (QAction* item : frm.N19->actions()) panels << plain(item->text());
  EXPECT_EQ(panels, QStringList({QString::fromUtf8("Перекодировки"), QString::fromUtf8("Главная"),
                                 QString::fromUtf8("Список файлов")}));
  // Every bar is called by its menu item's name, wherever it shows.
  EXPECT_EQ(QStringList({frm.CodeBar->windowTitle(), frm.FileBar->windowTitle(),
                         frm.PathBar->windowTitle()}),
            panels);

  std::unique_ptr<QMenu> popup(frm.createPopupMenu());
  ASSERT_NE(popup, nullptr);
  QStringList offered;
  for (QAction* item : popup->actions())
    if (!item->isSeparator()) offered << plain(item->text());
  EXPECT_EQ(offered, panels);

  // Unticking in one menu unticks in the other, and back.
  popup->actions()[0]->trigger();
  EXPECT_TRUE(frm.CodeBar->isHidden());
  EXPECT_FALSE(frm.MShowCode->isChecked());
  std::unique_ptr<QMenu> again(frm.createPopupMenu());
  EXPECT_FALSE(again->actions()[0]->isChecked());
  frm.MShowCode->trigger();
  EXPECT_FALSE(frm.CodeBar->isHidden());
  EXPECT_TRUE(again->actions()[0]->isChecked());

  again->actions()[2]->trigger();
  EXPECT_TRUE(frm.PathBar->isHidden());
  EXPECT_FALSE(frm.MShowList->isChecked());
}

TEST_F(ViewTest, FloatingFileBarClosedByItsButtonAndShownAgain) {
  QSignalSpy closed(frm.FileBar, &DockToolBar::Closed);
  Float(frm.FileBar);
  EXPECT_EQ(frm.FileBar->CurrentDock(), DockToolBar::kFloating);
  EXPECT_EQ(frm.FileBar->Row(), 1);  // the row it had when docked
  QToolButton* close = frm.FileBar->CloseButton();
  ASSERT_TRUE(close->isVisible());
  EXPECT_GT(close->x(), frm.ToolbarButton9720->x());  // after the last button

  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_TRUE(frm.FileBar->isHidden());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(frm.MShowFile->isChecked());
  EXPECT_TRUE(frm.MShowCode->isChecked());

  frm.MShowFile->trigger();
  EXPECT_FALSE(frm.FileBar->isHidden());
  EXPECT_TRUE(frm.MShowFile->isChecked());
  EXPECT_TRUE(frm.FileBar->isFloating());
  EXPECT_EQ(frm.FileBar->Row(), frm.Options().file_bar_row);

  // Docked again it loses the close button.
  frm.FileBar->SetDock(DockToolBar::kLoDock);
  QApplication::processEvents();
  EXPECT_FALSE(frm.FileBar->isFloating());
  EXPECT_EQ(frm.FileBar->CurrentDock(), DockToolBar::kLoDock);
  EXPECT_FALSE(close->isVisible());
}

TEST_F(ViewTest, DockRowAndPositionReadBackInEveryDock) {
  for (int dock :
       {DockToolBar::kLDock, DockToolBar::kRDock, DockToolBar::kLoDock, DockToolBar::kUpDock}) {
    SCOPED_TRACE(dock);
    // As the settings load places them: dock, then row, then position.
    struct Place {
      DockToolBar* bar;
      int row;
      int position;
    };
    const Place places[] = {{frm.CodeBar, 0, 0}, {frm.FileBar, 1, 0}, {frm.PathBar, 1, 247}};
    for (const Place& p : places) {
      p.bar->SetDock(dock);
      p.bar->SetRow(p.row);
      p.bar->SetPosition(p.position);
      EXPECT_EQ(p.bar->CurrentDock(), dock);
      EXPECT_EQ(p.bar->Row(), p.row);
      EXPECT_EQ(p.bar->Position(), p.position);
    }
    EXPECT_EQ(Rows(), (std::array<int, 3>{0, 1, 1}));

    frm.CodeBar->SetRow(1);  // leaves row 0 empty, so it closes up
    EXPECT_EQ(Rows(), (std::array<int, 3>{1, 0, 0}));
    frm.FileBar->SetRow(1);
    EXPECT_EQ(Rows(), (std::array<int, 3>{1, 1, 0}));
    frm.PathBar->SetRow(2);  // past the last row: a new one
    EXPECT_EQ(Rows(), (std::array<int, 3>{0, 0, 1}));
    frm.FileBar->SetRow(1);
    EXPECT_EQ(Rows(), (std::array<int, 3>{0, 1, 1}));

    frm.PathBar->SetPosition(300);
    frm.FileBar->SetPosition(120);
    EXPECT_EQ(frm.FileBar->Position(), 120);
    EXPECT_EQ(frm.PathBar->Position(), 300);
    frm.FileBar->SetPosition(400);  // now after PathBar
    EXPECT_EQ(frm.FileBar->Position(), 400);
    EXPECT_EQ(Rows(), (std::array<int, 3>{0, 1, 1}));
    QApplication::processEvents();
    const bool across = dock == DockToolBar::kUpDock || dock == DockToolBar::kLoDock;
    if (across) {
      EXPECT_LT(frm.PathBar->x(), frm.FileBar->x());
      EXPECT_EQ(frm.PathBar->y(), frm.FileBar->y());
    } else {
      EXPECT_LT(frm.PathBar->y(), frm.FileBar->y());
      EXPECT_EQ(frm.PathBar->x(), frm.FileBar->x());
    }
    frm.FileBar->SetPosition(0);
    frm.PathBar->SetPosition(247);
  }
}

TEST_F(ViewTest, UnknownDockNumbersLeaveTheToolbar) {
  for (int dock : {0, 5, -1}) {
    frm.CodeBar->SetDock(dock);
    EXPECT_EQ(frm.CodeBar->CurrentDock(), DockToolBar::kUpDock);
    EXPECT_EQ(frm.CodeBar->Row(), 0);
  }
}

TEST_F(ViewTest, FontSizesComeFromTheNormalSizeInAnyOrder) {
  frm.MemoF2->SetText("abc");
  ASSERT_EQ(ResultSize(), 8);  // the base font until settings are loaded
  frm.NormalFont->trigger();   // checked: choosing it again unchecks it
  EXPECT_EQ(ResultSize(), 8);
  EXPECT_FALSE(frm.NormalFont->isChecked());

  frm.LageFont->trigger();
  EXPECT_EQ(ResultSize(), 12);
  frm.SmallFont->trigger();
  EXPECT_EQ(ResultSize(), 8);
  frm.LageFont->trigger();
  EXPECT_EQ(ResultSize(), 12);
  frm.LageFont->trigger();  // unchecks; the size stays
  EXPECT_FALSE(frm.LageFont->isChecked());
  EXPECT_EQ(ResultSize(), 12);
  frm.LageFont->trigger();  // never normal + 4
  EXPECT_EQ(ResultSize(), 12);
  frm.NormalFont->trigger();
  EXPECT_EQ(ResultSize(), 10);
  EXPECT_TRUE(frm.NormalFont->isChecked());

  EXPECT_EQ(frm.MemoF2->BaseFont().pointSize(), 8);
  EXPECT_EQ(frm.MemoF->font().pointSize(), 8);
  EXPECT_TRUE(frm.MemoF2->SelectedText().empty());
  EXPECT_EQ(frm.MemoF2->textCursor().position(), 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ViewTest, TextThatReplacesTheResultKeepsTheChosenSize) {
  frm.SmallFont->trigger();
  frm.MemoF->SetText("koi");
  frm.KoiWin1Click();
  frm.MemoF2->SetText("new text");
  EXPECT_EQ(ResultSize(), 8);
  frm.LageFont->trigger();
  frm.KoiWin1Click();
  const QTextCursor at(frm.MemoF2->document()->firstBlock());
  EXPECT_EQ(QFontInfo(frm.MemoF2->font()).pointSize(), 12);
  EXPECT_EQ(frm.MemoF2->document()->defaultFont().pointSize(), 12);
  EXPECT_EQ(at.charFormat().fontPointSize(), 0.0);  // no size of its own
}

TEST_F(ViewTest, SmallerNeverGoesBelowOnePoint) {
  frm.Options().normal_font_size = 2;
  frm.SmallFont->trigger();
  EXPECT_EQ(ResultSize(), 1);
  frm.NormalFont->trigger();
  EXPECT_EQ(ResultSize(), 2);
}

TEST_F(ViewTest, ChosenNormalFontAppliesToTheTextAndBecomesTheNormal) {
  frm.MemoF2->SetText("abc");
  frm.LageFont->trigger();
  QFont chosen(QStringLiteral("Courier New"));
  chosen.setPointSize(14);
  chosen.setBold(true);
  dialogs.font_answers.push_back(chosen);
  frm.SelFont->trigger();

  ASSERT_EQ(dialogs.font_requests.size(), 1u);
  EXPECT_EQ(dialogs.font_requests[0].family(), "Arial Cyr");
  EXPECT_EQ(dialogs.font_requests[0].pointSize(), 8);
  EXPECT_EQ(ResultSize(), 14);
  EXPECT_EQ(frm.MemoF2->font().family(), "Courier New");
  EXPECT_FALSE(frm.MemoF2->font().bold());  // the style is not applied
  EXPECT_EQ(frm.Options().normal_font_size, 14);
  EXPECT_EQ(frm.Options().normal_font_name, "Courier New");
  EXPECT_TRUE(frm.LageFont->isChecked());
  EXPECT_EQ(frm.MemoF2->BaseFont().family(), "Arial Cyr");
  EXPECT_EQ(frm.MemoF2->BaseFont().pointSize(), 8);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  frm.SmallFont->trigger();
  EXPECT_EQ(ResultSize(), 12);

  // Cancelled: nothing changes, and the dialog opened on the base font again.
  frm.SelFont->trigger();
  ASSERT_EQ(dialogs.font_requests.size(), 2u);
  EXPECT_EQ(dialogs.font_requests[1].family(), "Arial Cyr");
  EXPECT_EQ(ResultSize(), 12);
  EXPECT_EQ(frm.Options().normal_font_size, 14);
}

TEST_F(ViewTest, WordWrapIsTheRightPanesOnly) {
  EXPECT_FALSE(frm.WrapSM->isChecked());
  EXPECT_FALSE(frm.MemoF2->WordWrap());
  frm.WrapSM->trigger();
  EXPECT_TRUE(frm.WrapSM->isChecked());
  EXPECT_TRUE(frm.MemoF2->WordWrap());
  EXPECT_FALSE(frm.MemoF->WordWrap());
  frm.WrapSM->trigger();
  EXPECT_FALSE(frm.WrapSM->isChecked());
  EXPECT_FALSE(frm.MemoF2->WordWrap());
}

TEST_F(ViewTest, SaveSettingsOnlyTogglesItsMark) {
  frm.MSaveOpt->trigger();
  EXPECT_FALSE(frm.MSaveOpt->isChecked());
  frm.MSaveOpt->trigger();
  EXPECT_TRUE(frm.MSaveOpt->isChecked());
}

}  // namespace
}  // namespace lirvane
