#include "base/version.h"
#include "ui/main_frm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "platform/dock_toolbar.h"
#include "platform/system_encoding.h"
#include "platform/text_pane.h"
#include "tests/support/scripted_dialogs.h"

namespace lirvane {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;

class MainFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frm.show();
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
  }

  void Focus(QWidget* widget) {
    widget->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(frm.focusWidget(), widget);
  }

  // Selects bytes [from, to) of a pane's first line.
  static void Select(TextPane* pane, int from, int to) {
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
  }

  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TMainFrm frm;
};

TEST_F(MainFrmTest, CaptionsAndDesignBounds) {
  EXPECT_EQ(frm.windowTitle(), QString("Velkor Lirvane! ") + kProgramVersion);
  EXPECT_EQ(AppTitle(), frm.windowTitle());  // message boxes name the same version
  EXPECT_EQ(frm.CodeBar->windowTitle(), QString::fromUtf8("Перекодировки"));
  EXPECT_EQ(frm.FileBar->windowTitle(), QString::fromUtf8("Главная"));
  EXPECT_EQ(frm.PathBar->windowTitle(), QString::fromUtf8("Список файлов"));
  EXPECT_EQ(frm.MemoF->width(), 218);
  EXPECT_FALSE(frm.MemoBk->isVisible());
  EXPECT_FALSE(frm.MemoT->isVisible());
  EXPECT_EQ(frm.FileBox->width(), 240);
  EXPECT_EQ(frm.FileBox->maxVisibleItems(), 10);
  // Wide enough at the start for every recoding button to show.
  EXPECT_GE(frm.width(), frm.CodeBar->sizeHint().width());
}

struct MenuRow {
  const char* name;
  const char* caption;
  const char* shortcut;
};

TEST_F(MainFrmTest, EveryMenuItemHasItsCaptionAndKey) {
  const MenuRow rows[] = {
      {"NewSM", "&Новый", "Ctrl+N"},
      {"OpenSM", "&Открыть...", "Ctrl+O"},
      {"SaveSM", "&Сохранить...", "Ctrl+S"},
      {"N4", "Принтер...", ""},
      {"ShowPrintM", "Показ окна", ""},
      {"PrintSM", "&Печать", "Ctrl+P"},
      {"ExitSM", "&Выход", "Alt+F4"},
      {"ReloadSM", "Пере&грузить", "Ctrl+R"},
      {"ToMem", "&Запомнить", "Ctrl+W"},
      {"ChangeSM", "Поменять &местами", "Ctrl+M"},
      {"CopySM", "&Копировать", "Ctrl+C"},
      {"CutSM", "&Вырезать", "Ctrl+X"},
      {"InsSM", "Вст&авить", "Ctrl+V"},
      {"DelSM", "&Очистить окно", "Ctrl+F4"},
      {"SelAllSM", "Выделить в&се", "Ctrl+A"},
      {"WrapSM", "&Перенос по словам", "Ctrl+T"},
      {"KoiWin1", "Koi->Win", "Alt+1"},
      {"WinKoi1", "Win->Koi", "Alt+2"},
      {"AltWin1", "Alt->Win", "Alt+3"},
      {"WinAlt1", "Win->Alt", "Alt+4"},
      {"KoiKoiWin1", "Koi->Koi->Win", "Alt+5"},
      {"IsoWin1", "Iso->Win", "Alt+6"},
      {"MacWin1", "Mac->Win", "Alt+7"},
      {"UniWin1", "Form-Urlencoded", "Alt+8"},
      {"UtfWin1", "UTF-8->Win", "Alt+U"},
      {"WinUtf1", "Win->UTF-8", "Alt+Shift+U"},
      {"OverCod", "&По схеме...", "Alt+9"},
      {"Tray1", "&Иконка в Tray", ""},
      {"MAutoRun", "&Автозапуск", ""},
      {"MSaveOpt", "&Сохранять настройки", ""},
      {"ToUp", "&Верхний регистр", "F11"},
      {"ToLo", "&Нижний регистр", "F12"},
      {"LatRus1", "&Lat -> Cyr", "Alt+F11"},
      {"RusLat1", "C&yr - >Lat", "Alt+F12"},
      {"DelSpase", "Удалить &пробелы", "Ctrl+F11"},
      {"DelTags", "Удалить &теги", "Ctrl+F12"},
      {"AboutSM", "&О программе...", ""},
      {"HelpSM", "&Справка", ""},
      {"VelkorHomepage1", "Velkor software online", ""},
      {"CopyPM", "Копировать", ""},
      {"CutPM", "Вырезать", ""},
      {"PastePM", "Вставить", ""},
      {"SelAllPM", "Выделить все", ""},
      {"CleanPM", "Очистить окно", ""},
      {"Paste2", "Paste", "Shift+Ins"},
  };
  for (const MenuRow& row : rows) {
    auto* item = frm.findChild<QAction*>(row.name);
    ASSERT_NE(item, nullptr) << row.name;
    EXPECT_EQ(item->text(), QString::fromUtf8(row.caption)) << row.name;
    EXPECT_EQ(item->shortcut(), QKeySequence(row.shortcut)) << row.name;
  }
  QStringList titles;
  for (QAction* menu : frm.menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, QStringList({"&Файл", "&Правка", "&Кодировка", "&Вид", "&Сервис", "&?"}));
  EXPECT_TRUE(frm.ShowPrintM->isChecked());
  EXPECT_TRUE(frm.MSaveOpt->isChecked());
  EXPECT_FALSE(frm.WrapSM->isChecked());
}

TEST_F(MainFrmTest, SeparatorsStandWhereTheyBelong) {
  auto names_of = [](QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    return names.join(' ');
  };
  EXPECT_EQ(names_of(frm.FileM),
            "NewSM OpenSM SaveSM FixFolderSM - N4 ShowPrintM PrintSM - ExitSM");
  EXPECT_EQ(names_of(frm.EditM),
            "ReloadSM ToMem ChangeSM - CopySM CutSM InsSM DelSM SelAllSM - WrapSM");
  EXPECT_EQ(names_of(frm.CodeM),
            "KoiWin1 WinKoi1 AltWin1 WinAlt1 KoiKoiWin1 IsoWin1 MacWin1 UniWin1 UtfWin1 "
            "WinUtf1 - OverCod AutoWin1");
  QStringList view;
  for (QAction* a : frm.N7->actions())
    view << (a->isSeparator() ? "-" : a->menu() ? a->menu()->objectName() : a->objectName());
  EXPECT_EQ(view.join(' '), "N11 N15 N19 Tray1 MAutoRun MUtf8Files - MSaveOpt");
}

TEST_F(MainFrmTest, Utf8FilesIsOnWhereTheSystemWorksInUtf8) {
  EXPECT_EQ(frm.MUtf8Files->text(), QString::fromUtf8("Файлы в UTF-8"));
  EXPECT_TRUE(frm.MUtf8Files->shortcut().isEmpty());
  EXPECT_TRUE(frm.MUtf8Files->isCheckable());
  EXPECT_EQ(frm.MUtf8Files->isChecked(), SystemEncodingIsUtf8());
  EXPECT_EQ(frm.Options().utf8_files, frm.MUtf8Files->isChecked());
  frm.MUtf8Files->trigger();
  EXPECT_EQ(frm.Options().utf8_files, frm.MUtf8Files->isChecked());
  EXPECT_NE(frm.MUtf8Files->isChecked(), SystemEncodingIsUtf8());
}

TEST(SystemEncoding, FollowsTheUsersLocale) {
  const QByteArray saved = qgetenv("LC_ALL");
  qputenv("LC_ALL", "C.UTF-8");
  EXPECT_TRUE(SystemEncodingIsUtf8());
  qputenv("LC_ALL", "C");
  EXPECT_FALSE(SystemEncodingIsUtf8());
  if (saved.isNull()) {
    qunsetenv("LC_ALL");
  } else {
    qputenv("LC_ALL", saved);
  }
}

TEST_F(MainFrmTest, ButtonsCarryCaptionsAndHints) {
  EXPECT_EQ(frm.Btn4->text(), "Koi>>Win");
  EXPECT_EQ(frm.Btn8->text(), QString::fromUtf8("По схеме"));
  EXPECT_EQ(frm.Btn7->toolTip(), QString::fromUtf8("Перекодировать из form-urlencoded в Win"));
  EXPECT_EQ(frm.Btn9->text(), "Utf->Win");
  EXPECT_EQ(frm.Btn9->toolTip(), QString::fromUtf8("Перекодировать из UTF-8 в Win"));
  EXPECT_EQ(frm.Btn10->text(), "Win->Utf");
  EXPECT_EQ(frm.Btn10->toolTip(), QString::fromUtf8("Перекодировать из Win в UTF-8"));
  EXPECT_EQ(frm.ToolbarButton975->toolTip(), QString::fromUtf8("\"Запомнить\" содержимое окна"));
  EXPECT_EQ(frm.ToolbarButton9721->toolTip(), QString::fromUtf8("Открыть из списка"));
}

TEST_F(MainFrmTest, RecodingCommandsWriteTheResultPane) {
  struct Case {
    void (TMainFrm::*command)();
    std::string source, result;
  };
  const Case cases[] = {
      {&TMainFrm::KoiWin1Click, "\xC1\xC2\xD7", "\xE0\xE1\xE2"},
      {&TMainFrm::WinKoi1Click, "\xE0\xE1\xE2", "\xC1\xC2\xD7"},
      {&TMainFrm::AltWin1Click, "\x80\xE0\xFC", "\xC0\xF0\xB9"},
      {&TMainFrm::WinAlt1Click, "\xC0\xF0\xB9", "\x80\xE0\xB9"},
      {&TMainFrm::KoiKoiWin1Click, "\xE0", "\xE2"},
      {&TMainFrm::IsoWin1Click, "\xB0\xA1", "\xC0\xA8"},
      {&TMainFrm::MacWin1Click, "\x80\xDF", "\xC0\xFF"},
      {&TMainFrm::UniWin1Click, "a=%E0+b&c", "a=\xE0 b\r\nc"},
      // The pane holds the UTF-8 bytes as Windows-1251 characters.
      {&TMainFrm::UtfWin1Click, "\xD0\xAF \xE2\x84\x96\x98", "\xDF \xB9?"},
      {&TMainFrm::WinUtf1Click, "\xDF\x98\r\n", "\xD0\xAF\xC2\x98\r\n"},
  };
  for (const Case& c : cases) {
    frm.MemoF->SetText(c.source);
    frm.MemoF2->SetText("old");
    (frm.*c.command)();
    EXPECT_EQ(frm.MemoF2->Text(), c.result);
    EXPECT_EQ(frm.MemoF->Text(), c.source);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    frm.MemoF->SetText("");
    (frm.*c.command)();
    EXPECT_EQ(frm.MemoF2->Text(), "");
  }
  // The buttons and keys run the same commands.
  frm.MemoF->SetText("\xC1");
  frm.Btn0->click();
  EXPECT_EQ(frm.MemoF2->Text(), "\xE0");
  Focus(frm.MemoF);
  frm.MemoF->SetText("\xE0");
  QTest::keyClick(frm.MemoF, Qt::Key_5, Qt::AltModifier);
  EXPECT_EQ(frm.MemoF2->Text(), "\xE2");
  frm.MemoF->SetText("\xDF");
  frm.Btn10->click();
  EXPECT_EQ(frm.MemoF2->Text(), "\xD0\xAF");
  frm.MemoF->SetText("\xD0\xAF");
  QTest::keyClick(frm.MemoF, Qt::Key_U, Qt::AltModifier);
  EXPECT_EQ(frm.MemoF2->Text(), "\xDF");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFrmTest, SwapTwiceRestoresBothPanes) {
  frm.MemoF->SetText("left");
  frm.MemoF2->SetText("right\r\nline");
  frm.ChangeSMClick();
  EXPECT_EQ(frm.MemoF->Text(), "right\r\nline");
  EXPECT_EQ(frm.MemoF2->Text(), "left");
  EXPECT_EQ(frm.MemoT->Text(), "right\r\nline");
  frm.ToolbarButton9720->click();
  EXPECT_EQ(frm.MemoF->Text(), "left");
  EXPECT_EQ(frm.MemoF2->Text(), "right\r\nline");
  EXPECT_EQ(frm.MemoT->Text(), "left");
}

TEST_F(MainFrmTest, RememberEditReload) {
  frm.ReloadSMClick();  // nothing remembered yet
  EXPECT_EQ(frm.MemoF->Text(), "");
  frm.MemoF->SetText("original");
  frm.MemoF2->SetText("result");
  frm.ToMemClick();
  frm.MemoF->SetText("edited");
  frm.ReloadSMClick();
  EXPECT_EQ(frm.MemoF->Text(), "original");
  EXPECT_EQ(frm.MemoF2->Text(), "result");
  frm.NewSMClick();
  frm.ReloadSMClick();
  EXPECT_EQ(frm.MemoF->Text(), "");
}

TEST_F(MainFrmTest, PasteWithAndWithoutClipboardText) {
  Focus(frm.MemoF2);
  QApplication::clipboard()->clear();
  frm.InsSMClick();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8("В буфере обмена отсутствует текст!"));
  EXPECT_EQ(dialogs.messages[0].caption, QString("Velkor Lirvane! ") + kProgramVersion);
  EXPECT_EQ(frm.MemoF2->Text(), "");

  QApplication::clipboard()->setText(QString::fromUtf8("мир\nпосле"));
  frm.MemoF2->SetText("12");
  QTextCursor cursor = frm.MemoF2->textCursor();
  cursor.setPosition(1);
  frm.MemoF2->setTextCursor(cursor);
  frm.InsSMClick();
  EXPECT_EQ(frm.MemoF2->Text(),
            "1\xEC\xE8\xF0\r\n\xEF\xEE\xF1\xEB\xE5"
            "2");
  // Shift+Ins pastes like Ctrl+V, over the selection.
  frm.MemoF2->SelectAllText();
  QApplication::clipboard()->setText("x");
  QTest::keyClick(frm.MemoF2, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(frm.MemoF2->Text(), "x");
  QTest::keyClick(frm.MemoF2, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(frm.MemoF2->Text(), "xx");
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

// Text from another program may end its lines in CR LF, CR or LF; each is
// one break, in the pane and in everything read from it.
TEST_F(MainFrmTest, PastedLineEndsAreOneBreakEach) {
  Focus(frm.MemoF);
  for (const char* clip : {"first\r\nsecond", "first\rsecond", "first\nsecond"}) {
    frm.MemoF->Clear();
    QApplication::clipboard()->setText(QString::fromLatin1(clip));
    QTest::keyClick(frm.MemoF, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(frm.MemoF->Text(), "first\r\nsecond") << clip;
    EXPECT_EQ(frm.MemoF->document()->blockCount(), 2) << clip;
    frm.KoiWin1Click();
    EXPECT_EQ(frm.MemoF2->Text(), "first\r\nsecond") << clip;
  }
  // A drop from another program, and a text set by a command.
  frm.MemoF->Clear();
  QMimeData dropped;
  dropped.setText("a\r\nb\rc\n");
  QWidget* target = frm.MemoF->viewport();
  const QPointF at(5, 5);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_EQ(frm.MemoF->Text(), "a\r\nb\r\nc\r\n");
  frm.MemoF->SetText("x\r\ny\rz");
  EXPECT_EQ(frm.MemoF->Text(), "x\r\ny\r\nz");
}

// A pane holds what is pasted into it, whatever the characters; the
// recoding commands read Windows-1251 bytes, "?" for what 1251 lacks.
TEST_F(MainFrmTest, PastedTextStaysWholeThroughTheEditCommands) {
  const QString pasted = QString::fromUtf8("Ïðèâåò ÐŸÑ€Ð¸\n😀 中");
  const std::string whole = "Ïðèâåò ÐŸÑ€Ð¸\r\n😀 中";
  Focus(frm.MemoF);
  QApplication::clipboard()->setText(pasted);
  QTest::keyClick(frm.MemoF, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(frm.MemoF->Utf8Text(), whole);
  EXPECT_EQ(frm.MemoF->Text(), "?????? ???\x88??\r\n? ?");
  frm.MemoF2->SetText("old");
  frm.ApplyRecodings(0, 0, 0);  // what a recoding reads, with no step taken
  EXPECT_EQ(frm.MemoF2->Text(), "?????? ???\x88??\r\n? ?");
  // Remember, edit, reload; swap and swap back.
  frm.ToMemClick();
  frm.MemoF->SetText("edited");
  frm.ReloadSMClick();
  EXPECT_EQ(frm.MemoF->Utf8Text(), whole);
  frm.ChangeSMClick();
  EXPECT_EQ(frm.MemoF2->Utf8Text(), whole);
  frm.ChangeSMClick();
  EXPECT_EQ(frm.MemoF->Utf8Text(), whole);
  EXPECT_EQ(frm.MemoT->Utf8Text(), whole);
  // Copied out again as it came in.
  Focus(frm.MemoF);
  frm.SelAllSMClick();
  frm.CopySMClick();
  EXPECT_EQ(QApplication::clipboard()->text(), pasted);
  // A text service rewrites the selection only, as Windows-1251 text: the
  // characters outside it stay.
  frm.MemoF->SetUtf8Text("ПРИВЕТ 😀");
  Select(frm.MemoF, 0, 6);
  frm.ToLoClick();
  EXPECT_EQ(frm.MemoF->Utf8Text(), "привет 😀");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFrmTest, CopyCutClearSelectAllActOnTheFocusedPane) {
  frm.MemoF->SetText("source");
  frm.MemoF2->SetText("result");
  Focus(frm.MemoF);
  QTest::keyClick(frm.MemoF, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(frm.MemoF->SelectedText(), "source");
  frm.ToolbarButton972->click();  // "Копировать в буфер"
  EXPECT_EQ(QApplication::clipboard()->text(), "source");
  Focus(frm.MemoF2);
  frm.MemoF2->SelectAllText();
  frm.CutSMClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "result");
  EXPECT_EQ(frm.MemoF2->Text(), "");
  EXPECT_EQ(frm.MemoF->Text(), "source");
  Focus(frm.MemoF);
  QTest::keyClick(frm.MemoF, Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(frm.MemoF->Text(), "");
}

TEST_F(MainFrmTest, CtrlF1DoesNothing) {
  frm.MemoF->SetText("keep");
  Focus(frm.MemoF);
  for (Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F9})
    QTest::keyClick(frm.MemoF, key, Qt::ControlModifier);
  EXPECT_EQ(frm.MemoF->Text(), "keep");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFrmTest, TextServicesChangeOnlyTheSelection) {
  frm.MemoF->SetText("left ghbdtn");
  frm.MemoF2->SetText("\xE0\xE1\xE2 \xE3\xE4");  // абв гд
  Focus(frm.MemoF2);
  Select(frm.MemoF2, 0, 3);
  frm.ToUpClick();
  EXPECT_EQ(frm.MemoF2->Text(), "\xC0\xC1\xC2 \xE3\xE4");
  EXPECT_EQ(frm.MemoF->Text(), "left ghbdtn");
  Focus(frm.MemoF);
  Select(frm.MemoF, 5, 11);
  QTest::keyClick(frm.MemoF, Qt::Key_F11, Qt::AltModifier);  // Lat -> Cyr
  EXPECT_EQ(frm.MemoF->Text(), "left \xEF\xF0\xE8\xE2\xE5\xF2");
  frm.MemoF->SetText("a   b <i>c</i>");
  frm.MemoF->SelectAllText();
  frm.DelSpaseClick();
  EXPECT_EQ(frm.MemoF->Text(), "a b <i>c</i>");
  frm.MemoF->SelectAllText();
  frm.DelTagsClick();
  EXPECT_EQ(frm.MemoF->Text(), "a b c");
  frm.MemoF->SetText("\xCF\xF0\xE8\xE2\xE5\xF2");  // Привет
  frm.MemoF->SelectAllText();
  frm.ToLoClick();
  frm.MemoF->SelectAllText();
  frm.RusLat1Click();
  EXPECT_EQ(frm.MemoF->Text(), "ghbdtn");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFrmTest, TextServiceWithoutSelectionAsksForOne) {
  frm.MemoF->SetText("text");
  Focus(frm.MemoF);
  frm.MemoF->SelectNothing();
  frm.ToUpClick();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8("Выделите текст для применения"));
  EXPECT_EQ(frm.MemoF->Text(), "text");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFrmTest, FocusOutsideThePanesDoesNothing) {
  frm.MemoF->SetText("left");
  frm.MemoF2->SetText("right");
  frm.MemoF->SelectAllText();
  QApplication::clipboard()->clear();
  frm.FileBox->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(frm.FocusedPane(), nullptr);
  for (auto command :
       {&TMainFrm::ToUpClick, &TMainFrm::DelTagsClick, &TMainFrm::InsSMClick, &TMainFrm::DelSMClick,
        &TMainFrm::CopySMClick, &TMainFrm::CutSMClick, &TMainFrm::SelAllSMClick}) {
    (frm.*command)();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(frm.MemoF->Text(), "left");
  EXPECT_EQ(frm.MemoF2->Text(), "right");
  const QMimeData* clip = QApplication::clipboard()->mimeData();
  EXPECT_TRUE(clip == nullptr || !clip->hasText());
}

}  // namespace
}  // namespace lirvane
