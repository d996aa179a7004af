#include "ui/main_frm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

#include "platform/dialogs.h"
#include "platform/dock_toolbar.h"
#include "platform/glyphs.h"
#include "platform/text_pane.h"
#include "ui/help_window.h"

namespace lirvane {

TMainFrm::TMainFrm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainFrm");
  setWindowTitle(AppTitle());
  setWindowIcon(AppIcon());
  setGeometry(386, 118, 537, 387);
  CreatePanes();
  CreateMenus();
  CreateHiddenKeys();
  CreatePopup();
  CreateToolbars();
  CreateHelp();
  // The design width was made for nine recoding buttons; at the first start
  // the window is as wide as CodeBar needs to show all of them.
  if (const int needed = CodeBar->sizeHint().width() + 8; needed > width())
    resize(needed, height());
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::FormClose() {
  if (closed_) return;
  closed_ = true;
  if (form_close_) form_close_();
}

void TMainFrm::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
  // The program ends with this window: the help goes with it.
  if (event->isAccepted()) CloseHelpWindow();
}

void TMainFrm::CreatePanes() {
  QFont pane_font(QStringLiteral("Arial Cyr"));
  pane_font.setPointSize(8);
  QFont hidden_font(QStringLiteral("MS Sans Serif"));
  hidden_font.setPointSize(8);

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  MemoF = new TextPane(TextPane::Storage::kDocument, Splitter1);
  MemoF->setObjectName("MemoF");
  MemoF2 = new TextPane(TextPane::Storage::kDocument, Splitter1);
  MemoF2->setObjectName("MemoF2");
  for (TextPane* pane : {MemoF, MemoF2}) {
    pane->SetBaseFont(pane_font);
    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this, [this, pane](const QPoint& at) {
      pane->setFocus(Qt::MouseFocusReason);
      Popup1->exec(pane->mapToGlobal(at));
    });
  }
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({218, 316});
  setCentralWidget(Splitter1);

  // Never shown: they hold only bytes.
  MemoBk = new TextPane(TextPane::Storage::kBuffer, this);
  MemoBk->setObjectName("MemoBk");
  MemoT = new TextPane(TextPane::Storage::kBuffer, this);
  MemoT->setObjectName("MemoT");
  for (TextPane* pane : {MemoBk, MemoT}) {
    pane->SetBaseFont(hidden_font);
    pane->hide();
  }
}

QAction* TMainFrm::AddCommand(QMenu* menu, QAction*& item, const char* name, const QString& caption,
                              const QKeySequence& shortcut, void (TMainFrm::*handler)()) {
  item = menu->addAction(caption);
  item->setObjectName(name);
  if (!shortcut.isEmpty()) item->setShortcut(shortcut);
  if (handler) connect(item, &QAction::triggered, this, handler);
  return item;
}

namespace {

QActionGroup* RadioGroup(QObject* owner, std::initializer_list<QAction*> items) {
  // A checked item unchecks the others; choosing the checked one again
  // unchecks it and leaves the group with none.
  auto* group = new QActionGroup(owner);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (QAction* item : items) {
    item->setCheckable(true);
    group->addAction(item);
  }
  return group;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& title) {
  QMenu* menu = bar->addMenu(title);
  menu->setObjectName(name);
  return menu;
}

QMenu* AddSubmenu(QMenu* parent, const char* name, const QString& title) {
  QMenu* menu = parent->addMenu(title);
  menu->setObjectName(name);
  return menu;
}

void AddSeparator(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); }

}  // namespace

void TMainFrm::CreateMenus() {
  QMenuBar* bar = menuBar();
  const QKeySequence none;

  FileM = AddMenu(bar, "FileM", QString::fromUtf8("&Файл"));
  AddCommand(FileM, NewSM, "NewSM", QString::fromUtf8("&Новый"), QKeySequence("Ctrl+N"),
             &TMainFrm::NewSMClick);
  AddCommand(FileM, OpenSM, "OpenSM", QString::fromUtf8("&Открыть..."), QKeySequence("Ctrl+O"),
             &TMainFrm::OpenSMClick);
  AddCommand(FileM, SaveSM, "SaveSM", QString::fromUtf8("&Сохранить..."), QKeySequence("Ctrl+S"),
             &TMainFrm::SaveSMClick);
  AddCommand(FileM, FixFolderSM, "FixFolderSM", QString::fromUtf8("Исправить п&апку..."), none,
             &TMainFrm::FixFolderSMClick);
  AddSeparator(FileM, "N3");
  AddCommand(FileM, N4, "N4", QString::fromUtf8("Принтер..."), none, &TMainFrm::N4Click);
  AddCommand(FileM, ShowPrintM, "ShowPrintM", QString::fromUtf8("Показ окна"), none,
             &TMainFrm::ShowPrintMClick);
  ShowPrintM->setCheckable(true);
  ShowPrintM->setChecked(true);
  AddCommand(FileM, PrintSM, "PrintSM", QString::fromUtf8("&Печать"), QKeySequence("Ctrl+P"),
             &TMainFrm::PrintSMClick);
  AddSeparator(FileM, "N1");
  AddCommand(FileM, ExitSM, "ExitSM", QString::fromUtf8("&Выход"), QKeySequence("Alt+F4"), nullptr);
  connect(ExitSM, &QAction::triggered, this, &QWidget::close);

  EditM = AddMenu(bar, "EditM", QString::fromUtf8("&Правка"));
  AddCommand(EditM, ReloadSM, "ReloadSM", QString::fromUtf8("Пере&грузить"), QKeySequence("Ctrl+R"),
             &TMainFrm::ReloadSMClick);
  AddCommand(EditM, ToMem, "ToMem", QString::fromUtf8("&Запомнить"), QKeySequence("Ctrl+W"),
             &TMainFrm::ToMemClick);
  AddCommand(EditM, ChangeSM, "ChangeSM", QString::fromUtf8("Поменять &местами"),
             QKeySequence("Ctrl+M"), &TMainFrm::ChangeSMClick);
  AddSeparator(EditM, "N6");
  AddCommand(EditM, CopySM, "CopySM", QString::fromUtf8("&Копировать"), QKeySequence("Ctrl+C"),
             &TMainFrm::CopySMClick);
  AddCommand(EditM, CutSM, "CutSM", QString::fromUtf8("&Вырезать"), QKeySequence("Ctrl+X"),
             &TMainFrm::CutSMClick);
  AddCommand(EditM, InsSM, "InsSM", QString::fromUtf8("Вст&авить"), QKeySequence("Ctrl+V"),
             &TMainFrm::InsSMClick);
  AddCommand(EditM, DelSM, "DelSM", QString::fromUtf8("&Очистить окно"), QKeySequence("Ctrl+F4"),
             &TMainFrm::DelSMClick);
  AddCommand(EditM, SelAllSM, "SelAllSM", QString::fromUtf8("Выделить в&се"),
             QKeySequence("Ctrl+A"), &TMainFrm::SelAllSMClick);
  AddSeparator(EditM, "N10");
  AddCommand(EditM, WrapSM, "WrapSM", QString::fromUtf8("&Перенос по словам"),
             QKeySequence("Ctrl+T"), &TMainFrm::WrapSMClick);
  WrapSM->setCheckable(true);

  CodeM = AddMenu(bar, "CodeM", QString::fromUtf8("&Кодировка"));
  AddCommand(CodeM, KoiWin1, "KoiWin1", "Koi->Win", QKeySequence("Alt+1"), &TMainFrm::KoiWin1Click);
  AddCommand(CodeM, WinKoi1, "WinKoi1", "Win->Koi", QKeySequence("Alt+2"), &TMainFrm::WinKoi1Click);
  AddCommand(CodeM, AltWin1, "AltWin1", "Alt->Win", QKeySequence("Alt+3"), &TMainFrm::AltWin1Click);
  AddCommand(CodeM, WinAlt1, "WinAlt1", "Win->Alt", QKeySequence("Alt+4"), &TMainFrm::WinAlt1Click);
  AddCommand(CodeM, KoiKoiWin1, "KoiKoiWin1", "Koi->Koi->Win", QKeySequence("Alt+5"),
             &TMainFrm::KoiKoiWin1Click);
  AddCommand(CodeM, IsoWin1, "IsoWin1", "Iso->Win", QKeySequence("Alt+6"), &TMainFrm::IsoWin1Click);
  AddCommand(CodeM, MacWin1, "MacWin1", "Mac->Win", QKeySequence("Alt+7"), &TMainFrm::MacWin1Click);
  AddCommand(CodeM, UniWin1, "UniWin1", "Form-Urlencoded", QKeySequence("Alt+8"),
             &TMainFrm::UniWin1Click);
  AddCommand(CodeM, UtfWin1, "UtfWin1", "UTF-8->Win", QKeySequence("Alt+U"),
             &TMainFrm::UtfWin1Click);
  AddCommand(CodeM, WinUtf1, "WinUtf1", "Win->UTF-8", QKeySequence("Alt+Shift+U"),
             &TMainFrm::WinUtf1Click);
  AddSeparator(CodeM, "N2");
  AddCommand(CodeM, OverCod, "OverCod", QString::fromUtf8("&По схеме..."), QKeySequence("Alt+9"),
             &TMainFrm::OverCodClick);
  // Alt+0 after "По схеме"'s Alt+9: the one command that picks the recoding.
  AddCommand(CodeM, AutoWin1, "AutoWin1", QString::fromUtf8("Авто"), QKeySequence("Alt+0"),
             &TMainFrm::AutoWin1Click);

  N7 = AddMenu(bar, "N7", QString::fromUtf8("&Вид"));
  N11 = AddSubmenu(N7, "N11", QString::fromUtf8("&Шрифт"));
  AddCommand(N11, LageFont, "LageFont", QString::fromUtf8("Сделать крупнее"), none,
             &TMainFrm::LageFontClick);
  AddCommand(N11, NormalFont, "NormalFont", QString::fromUtf8("Нормальный"), none,
             &TMainFrm::NormalFontClick);
  AddCommand(N11, SmallFont, "SmallFont", QString::fromUtf8("Сделать мельче"), none,
             &TMainFrm::SmallFontClick);
  RadioGroup(this, {LageFont, NormalFont, SmallFont});
  NormalFont->setChecked(true);
  AddSeparator(N11, "N22");
  AddCommand(N11, SelFont, "SelFont", QString::fromUtf8("Выбрать нормальный..."), none,
             &TMainFrm::SelFontClick);
  N15 = AddSubmenu(N7, "N15", QString::fromUtf8("&Кнопки"));
  AddCommand(N15, MSpic, "MSpic", QString::fromUtf8("Только картинки"), none,
             &TMainFrm::MSpicClick);
  AddCommand(N15, MSboth, "MSboth", QString::fromUtf8("Картинки и текст"), none,
             &TMainFrm::MSbothClick);
  AddCommand(N15, MStext, "MStext", QString::fromUtf8("Только текст"), none,
             &TMainFrm::MStextClick);
  RadioGroup(this, {MSpic, MSboth, MStext});
  MSboth->setChecked(true);
  N19 = AddSubmenu(N7, "N19", QString::fromUtf8("&Панели"));
  AddCommand(N19, MShowCode, "MShowCode", QString::fromUtf8("Перекодировки"), none,
             &TMainFrm::MShowCodeClick);
  AddCommand(N19, MShowFile, "MShowFile", QString::fromUtf8("Главная"), none,
             &TMainFrm::MShowFileClick);
  AddCommand(N19, MShowList, "MShowList", QString::fromUtf8("&Список файлов"), none,
             &TMainFrm::MShowListClick);
  for (QAction* item : {MShowCode, MShowFile, MShowList}) {
    item->setCheckable(true);
    item->setChecked(true);
  }
  AddCommand(N7, Tray1, "Tray1", QString::fromUtf8("&Иконка в Tray"), none, &TMainFrm::Tray1Click);
  AddCommand(N7, MAutoRun, "MAutoRun", QString::fromUtf8("&Автозапуск"), none,
             &TMainFrm::MAutoRunClick);
  AddCommand(N7, MUtf8Files, "MUtf8Files", QString::fromUtf8("Файлы в UTF-8"), none,
             &TMainFrm::MUtf8FilesClick);
  AddSeparator(N7, "N24");
  AddCommand(N7, MSaveOpt, "MSaveOpt", QString::fromUtf8("&Сохранять настройки"), none,
             &TMainFrm::MSaveOptClick);
  for (QAction* item : {Tray1, MAutoRun, MUtf8Files, MSaveOpt}) item->setCheckable(true);
  MSaveOpt->setChecked(true);
  MUtf8Files->setChecked(options_.utf8_files);

  N5 = AddMenu(bar, "N5", QString::fromUtf8("&Сервис"));
  AddCommand(N5, ToUp, "ToUp", QString::fromUtf8("&Верхний регистр"), QKeySequence("F11"),
             &TMainFrm::ToUpClick);
  AddCommand(N5, ToLo, "ToLo", QString::fromUtf8("&Нижний регистр"), QKeySequence("F12"),
             &TMainFrm::ToLoClick);
  AddCommand(N5, LatRus1, "LatRus1", QString::fromUtf8("&Lat -> Cyr"), QKeySequence("Alt+F11"),
             &TMainFrm::LatRus1Click);
  AddCommand(N5, RusLat1, "RusLat1", QString::fromUtf8("C&yr - >Lat"), QKeySequence("Alt+F12"),
             &TMainFrm::RusLat1Click);
  AddCommand(N5, DelSpase, "DelSpase", QString::fromUtf8("Удалить &пробелы"),
             QKeySequence("Ctrl+F11"), &TMainFrm::DelSpaseClick);
  AddCommand(N5, DelTags, "DelTags", QString::fromUtf8("Удалить &теги"), QKeySequence("Ctrl+F12"),
             &TMainFrm::DelTagsClick);

  HelpM = AddMenu(bar, "HelpM", QString::fromUtf8("&?"));
  AddCommand(HelpM, AboutSM, "AboutSM", QString::fromUtf8("&О программе..."), none,
             &TMainFrm::AboutSMClick);
  AddCommand(HelpM, HelpSM, "HelpSM", QString::fromUtf8("&Справка"), none, &TMainFrm::HelpSMClick);
  WWW1 = AddSubmenu(HelpM, "WWW1", QStringLiteral("&WWW"));
  AddCommand(WWW1, VelkorHomepage1, "VelkorHomepage1", QStringLiteral("Velkor software online"),
             none, &TMainFrm::VelkorHomepage1Click);
}

void TMainFrm::CreateHiddenKeys() {
  // A menu that is never shown, whose items only carry keys: Shift+Ins
  // pastes, Ctrl+F1..F9 are taken so that they do nothing (Ctrl+F4 belongs
  // to "Очистить окно").
  Hidden1 = new QMenu(QStringLiteral("Hidden"), this);
  Hidden1->setObjectName("Hidden1");
  AddCommand(Hidden1, Paste2, "Paste2", QStringLiteral("Paste"), QKeySequence("Shift+Ins"),
             &TMainFrm::InsSMClick);
  addAction(Paste2);
  for (int f = 1; f <= 9; ++f) {
    if (f == 4) continue;
    QAction* key = Hidden1->addAction(QStringLiteral("Ctrl+F%1").arg(f));
    key->setObjectName(QStringLiteral("HiddenCtrlF%1").arg(f));
    key->setShortcut(QKeySequence(QStringLiteral("Ctrl+F%1").arg(f)));
    addAction(key);
  }
}

void TMainFrm::CreatePopup() {
  const QKeySequence none;
  Popup1 = new QMenu(this);
  Popup1->setObjectName("Popup1");
  AddCommand(Popup1, CopyPM, "CopyPM", QString::fromUtf8("Копировать"), none,
             &TMainFrm::CopySMClick);
  AddCommand(Popup1, CutPM, "CutPM", QString::fromUtf8("Вырезать"), none, &TMainFrm::CutSMClick);
  AddCommand(Popup1, PastePM, "PastePM", QString::fromUtf8("Вставить"), none,
             &TMainFrm::InsSMClick);
  AddCommand(Popup1, SelAllPM, "SelAllPM", QString::fromUtf8("Выделить все"), none,
             &TMainFrm::SelAllSMClick);
  AddCommand(Popup1, CleanPM, "CleanPM", QString::fromUtf8("Очистить окно"), none,
             &TMainFrm::DelSMClick);
}

QToolButton* TMainFrm::AddButton(QToolBar* bar, const char* name, const QString& hint,
                                 void (TMainFrm::*handler)()) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);  // a click leaves the focus in its pane
  if (handler) connect(button, &QToolButton::clicked, this, handler);
  bar->addWidget(button);
  return button;
}

void TMainFrm::CreateToolbars() {
  CodeBar = new DockToolBar(QString::fromUtf8("Перекодировки"), this);
  CodeBar->setObjectName("CodeBar");
  struct Recoding {
    QToolButton*& button;
    const char* name;
    const char* caption;
    const char* hint;
    void (TMainFrm::*handler)();
  };
  const Recoding recodings[] = {
      {Btn0, "Btn0", "Koi->Win", "Перекодировать из Koi в Win", &TMainFrm::KoiWin1Click},
      {Btn1, "Btn1", "Win->Koi", "Перекодировать из Win в Koi", &TMainFrm::WinKoi1Click},
      {Btn2, "Btn2", "Alt->Win", "Перекодировать из Alt в Win", &TMainFrm::AltWin1Click},
      {Btn3, "Btn3", "Win->Alt", "Перекодировать из Win в Alt", &TMainFrm::WinAlt1Click},
      {Btn4, "Btn4", "Koi>>Win", "Перекодировать из Koi в Koi и в Win", &TMainFrm::KoiKoiWin1Click},
      {Btn5, "Btn5", "Iso->Win", "Перекодировать из Iso в Win", &TMainFrm::IsoWin1Click},
      {Btn6, "Btn6", "Mac->Win", "Перекодировать из Mac в Win", &TMainFrm::MacWin1Click},
      {Btn7, "Btn7", "Uni->Win", "Перекодировать из form-urlencoded в Win",
       &TMainFrm::UniWin1Click},
      {Btn8, "Btn8", "По схеме", "Схемы перекодирования", &TMainFrm::OverCodClick},
      {Btn9, "Btn9", "Utf->Win", "Перекодировать из UTF-8 в Win", &TMainFrm::UtfWin1Click},
      {Btn10, "Btn10", "Win->Utf", "Перекодировать из Win в UTF-8", &TMainFrm::WinUtf1Click},
  };
  CodeBar->setIconSize(QSize(44, 20));
  CodeBar->layout()->setSpacing(0);
  QFont caption_font = CodeBar->font();
  // Small enough that the widest caption, "Mac->Win", fits the 57 pixels.
  caption_font.setPointSizeF(7.5);
  ImageList = RecodingButtonPictures();
  int index = 0;
  for (const Recoding& r : recodings) {
    r.button = AddButton(CodeBar, r.name, QString::fromUtf8(r.hint), r.handler);
    r.button->setText(QString::fromUtf8(r.caption));
    r.button->setIcon(QIcon(ImageList[index++]));
    r.button->setIconSize(QSize(44, 20));
    r.button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    r.button->setFixedWidth(57);
    r.button->setFont(caption_font);
  }
  // "Авто" stands last, after every fixed recoding.
  BtnAuto = AddButton(CodeBar, "BtnAuto",
                      QString::fromUtf8("Определить кодировку и перекодировать в Win"),
                      &TMainFrm::AutoWin1Click);
  BtnAuto->setText(QString::fromUtf8(kAutoCaption));
  BtnAuto->setIcon(QIcon(AutoRecodingPicture()));
  BtnAuto->setIconSize(QSize(44, 20));
  BtnAuto->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  BtnAuto->setFixedWidth(57);
  BtnAuto->setFont(caption_font);
  addToolBar(Qt::TopToolBarArea, CodeBar);
  addToolBarBreak(Qt::TopToolBarArea);

  // Each bar goes by the name of its item in "Панели", wherever it shows.
  FileBar = new DockToolBar(QString::fromUtf8("Главная"), this);
  FileBar->setObjectName("FileBar");
  FileBar->setIconSize(QSize(16, 15));
  struct FileButton {
    QToolButton*& button;
    const char* name;
    const char* hint;
    FileGlyph glyph;
    void (TMainFrm::*handler)();
  };
  const FileButton file_buttons[] = {
      {ToolbarButton9719, "ToolbarButton9719", "Очистить всё", FileGlyph::kNew,
       &TMainFrm::NewSMClick},
      {ToolbarButton9718, "ToolbarButton9718", "Открыть", FileGlyph::kOpen, &TMainFrm::OpenSMClick},
      {ToolbarButton973, "ToolbarButton973", "Вставить из буфера", FileGlyph::kPaste,
       &TMainFrm::InsSMClick},
      {ToolbarButton972, "ToolbarButton972", "Копировать в буфер", FileGlyph::kCopy,
       &TMainFrm::CopySMClick},
      {ToolbarButton9717, "ToolbarButton9717", "Сохранить", FileGlyph::kSave,
       &TMainFrm::SaveSMClick},
      {ToolbarButton9716, "ToolbarButton9716", "Распечатать", FileGlyph::kPrint,
       &TMainFrm::PrintSMClick},
      {ToolbarButton9711, "ToolbarButton9711", "Перегрузить в начальном виде (запомненный)",
       FileGlyph::kReload, &TMainFrm::ReloadSMClick},
      {ToolbarButton975, "ToolbarButton975", "\"Запомнить\" содержимое окна", FileGlyph::kRemember,
       &TMainFrm::ToMemClick},
      {ToolbarButton9720, "ToolbarButton9720", "Поменять местами", FileGlyph::kSwap,
       &TMainFrm::ChangeSMClick},
  };
  for (const FileButton& b : file_buttons) {
    b.button = AddButton(FileBar, b.name, QString::fromUtf8(b.hint), b.handler);
    b.button->setIcon(FileBarIcon(b.glyph));
    b.button->setIconSize(QSize(16, 15));
  }
  addToolBar(Qt::TopToolBarArea, FileBar);

  PathBar = new DockToolBar(QString::fromUtf8("Список файлов"), this);
  PathBar->setObjectName("PathBar");
  FileBox = new QComboBox(PathBar);
  FileBox->setObjectName("FileBox");
  FileBox->setEditable(true);
  FileBox->setInsertPolicy(QComboBox::NoInsert);  // the list changes only by the commands
  FileBox->setMaxVisibleItems(10);
  FileBox->setFixedWidth(240);
#ifndef _WIN32
  // File names differ by letter case here: a typed name is completed only
  // to an entry that begins with exactly what was typed.
  FileBox->completer()->setCaseSensitivity(Qt::CaseSensitive);
#endif
  PathBar->addWidget(FileBox);
  // Enter in the box opens the named file (FileBoxKeyPress).
  connect(FileBox->lineEdit(), &QLineEdit::returnPressed, this, &TMainFrm::FileBoxKeyPress);
  ToolbarButton9721 =
      AddButton(PathBar, "ToolbarButton9721", QString::fromUtf8("Открыть из списка"),
                &TMainFrm::ToolbarButton9721Click);
  ToolbarButton9721->setIcon(FileBarIcon(FileGlyph::kOpenFromList));
  ToolbarButton9721->setIconSize(QSize(20, 19));
  addToolBar(Qt::TopToolBarArea, PathBar);

  connect(CodeBar, &DockToolBar::Closed, this, &TMainFrm::CodeBarClose);
  connect(FileBar, &DockToolBar::Closed, this, &TMainFrm::FileBarClose);
  connect(PathBar, &DockToolBar::Closed, this, &TMainFrm::PathBarClose);

  // The design positions, PathBar's first so that FileBar goes before it.
  PathBar->SetPosition(247);
  FileBar->SetPosition(0);
  CodeBar->SetPosition(0);
  SetButtonView();
}

TextPane* TMainFrm::FocusedPane() const {
  QWidget* focus = focusWidget();
  if (focus == MemoF) return MemoF;
  if (focus == MemoF2) return MemoF2;
  return nullptr;
}

}  // namespace lirvane
