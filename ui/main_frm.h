// The main window: two text panes side by side, the remembered and swap
// panes behind them, the menus and the three toolbars.
//
// Handlers are named after the control and event that trigger them
// (KoiWin1Click runs for the menu item KoiWin1 and for the button Btn0).
// They live in files by subject: main_frm_edit.cpp (recoding, swap,
// remember, clipboard, text services), main_frm_files.cpp (files, recent
// list, printing), main_frm_view.cpp (view options), main_frm_tray.cpp
// (notification icon, autorun), main_frm_help.cpp (about, help, web site).
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QPixmap>

#include "platform/text_file_form.h"
#include "ui/program_options.h"

class QAction;
class QComboBox;
class QMenu;
class QPrinter;
class QSplitter;
class QToolBar;
class QToolButton;

namespace lirvane {

class DockToolBar;
class TextPane;
class TAboutBox;
class TGoToWeb;
class ShellIntegration;
class TSystemTrayIcon;

class TMainFrm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainFrm(QWidget* parent = nullptr);
  ~TMainFrm() override;

  ProgramOptions& Options() { return options_; }

  // The pane that has the focus, if it is MemoF or MemoF2; else nullptr.
  TextPane* FocusedPane() const;

  // Shows the scheme editor; set by the application once it exists.
  void SetSchemeEditorOpener(std::function<void()> opener) {
    open_scheme_editor_ = std::move(opener);
  }
  // The application's work when the window closes.
  void SetFormClose(std::function<void()> handler) { form_close_ = std::move(handler); }
  // Runs that work, once however often it is asked for: closing the window
  // does, and so does a run that ends before the window was ever shown.
  void FormClose();

  // Recoding (main_frm_edit.cpp).
  void ApplyRecodings(int32_t a, int32_t b, int32_t c);
  void KoiWin1Click();
  void WinKoi1Click();
  void AltWin1Click();
  void WinAlt1Click();
  void KoiKoiWin1Click();
  void IsoWin1Click();
  void MacWin1Click();
  void UniWin1Click();
  void UtfWin1Click();
  void WinUtf1Click();
  void OverCodClick();
  // "Авто" (main_frm_auto.cpp): finds what garbled the source pane's text
  // and undoes it into the result pane, saying what it found in the status
  // line.
  void AutoWin1Click();
  static constexpr const char* kAutoCaption = "Авто";

  // Edit commands (main_frm_edit.cpp).
  void ChangeSMClick();
  void ToMemClick();
  void ReloadSMClick();
  void CopySMClick();
  void CutSMClick();
  void InsSMClick();
  void DelSMClick();
  void SelAllSMClick();

  // Text services on the focused pane's selection (main_frm_edit.cpp).
  void ApplyTextService(std::string (*transform)(std::string_view));
  void ToUpClick();
  void ToLoClick();
  void LatRus1Click();
  void RusLat1Click();
  void DelSpaseClick();
  void DelTagsClick();

  // Files, recent list and printing (main_frm_files.cpp).
  void NewSMClick();
  void OpenSMClick();
  void SaveSMClick();
  void FixFolderSMClick();
  void N4Click();
  void ShowPrintMClick();
  void PrintSMClick();
  void ToolbarButton9721Click();
  void FileBoxKeyPress();  // Enter in FileBox
  void LoadFileFromBox();
  bool NotInRecentList(const QString& name) const;
  // The open dialog's starting folder; it follows every successful load.
  QString OpenDialogFolder() const { return open_dialog_folder_; }
  void SetOpenDialogFolder(const QString& folder) { open_dialog_folder_ = folder; }
  // The printer that print jobs go to (tests point it at a PDF file).
  QPrinter& Printer();
  // How the last file opened was written.
  const TextFileForm& OpenedFileForm() const { return opened_form_; }
  // How Save writes plain text: with "Файлы в UTF-8" as UTF-8 with the line
  // breaks (and byte-order mark) of the file last opened; else Windows-1251
  // with CR LF.
  TextFileForm SaveFileForm() const;

  // View options (main_frm_view.cpp).
  void SetButtonView();
  void SetAutoButtonView();  // "Авто" follows the other recoding buttons
  void MSbothClick();
  void MSpicClick();
  void MStextClick();
  void MShowCodeClick();
  void MShowFileClick();
  void MShowListClick();
  void CodeBarClose();
  void FileBarClose();
  void PathBarClose();
  void WrapSMClick();
  void LageFontClick();
  void NormalFontClick();
  void SmallFontClick();
  void SelFontClick();
  void MSaveOptClick();
  void MUtf8FilesClick();
  // The menu of a right click on the toolbars or the menu bar: the items of
  // "Панели" themselves, so that both menus always agree.
  QMenu* createPopupMenu() override;

  // Notification icon and autorun (main_frm_tray.cpp).
  void Tray1Click();
  void MAutoRunClick();
  void TrayIconMouseDown();
  // What MAutoRunClick switches; set by the application at start-up.
  void SetShellIntegration(ShellIntegration* shell) { shell_ = shell; }
  // Icon shown = on, Tray1 ticked as on; the taskbar entry is left only
  // for an icon that the desktop has a notification area to show. Without
  // one the status line says why the entry stays. True when the icon is
  // there to be seen.
  bool SwitchTrayIcon(bool on);
  // The notification icon, made at first use.
  TSystemTrayIcon& TrayIcon();

  // About, help and the web site (main_frm_help.cpp).
  void AboutSMClick();
  void HelpSMClick();
  void VelkorHomepage1Click();
  // The application hands over the about box it made at start-up; without
  // one the window makes its own the first time it is asked for.
  void SetAboutBox(TAboutBox* about_box) { AboutBox = about_box; }

  // Panes.
  TextPane* MemoF = nullptr;
  TextPane* MemoF2 = nullptr;
  TextPane* MemoBk = nullptr;
  TextPane* MemoT = nullptr;
  QSplitter* Splitter1 = nullptr;

  // Menus and their items.
  QMenu* FileM = nullptr;
  QAction* FixFolderSM = nullptr;
  QAction *NewSM = nullptr, *OpenSM = nullptr, *SaveSM = nullptr, *N4 = nullptr,
          *ShowPrintM = nullptr, *PrintSM = nullptr, *ExitSM = nullptr;
  QMenu* EditM = nullptr;
  QAction *ReloadSM = nullptr, *ToMem = nullptr, *ChangeSM = nullptr, *CopySM = nullptr,
          *CutSM = nullptr, *InsSM = nullptr, *DelSM = nullptr, *SelAllSM = nullptr,
          *WrapSM = nullptr;
  QMenu* CodeM = nullptr;
  QAction *KoiWin1 = nullptr, *WinKoi1 = nullptr, *AltWin1 = nullptr, *WinAlt1 = nullptr,
          *KoiKoiWin1 = nullptr, *IsoWin1 = nullptr, *MacWin1 = nullptr, *UniWin1 = nullptr,
          *UtfWin1 = nullptr, *WinUtf1 = nullptr, *OverCod = nullptr;
  QAction* AutoWin1 = nullptr;
  QMenu* N7 = nullptr;  // "&Вид"
  QMenu *N11 = nullptr, *N15 = nullptr, *N19 = nullptr;
  QAction *LageFont = nullptr, *NormalFont = nullptr, *SmallFont = nullptr, *SelFont = nullptr;
  QAction *MSpic = nullptr, *MSboth = nullptr, *MStext = nullptr;
  QAction *MShowCode = nullptr, *MShowFile = nullptr, *MShowList = nullptr;
  QAction *Tray1 = nullptr, *MAutoRun = nullptr, *MSaveOpt = nullptr;
  QAction* MUtf8Files = nullptr;  // "Файлы в UTF-8"
  QMenu* N5 = nullptr;            // "&Сервис"
  QAction *ToUp = nullptr, *ToLo = nullptr, *LatRus1 = nullptr, *RusLat1 = nullptr,
          *DelSpase = nullptr, *DelTags = nullptr;
  QMenu* HelpM = nullptr;
  QMenu* WWW1 = nullptr;
  QAction *AboutSM = nullptr, *HelpSM = nullptr, *VelkorHomepage1 = nullptr;
  QMenu* Hidden1 = nullptr;  // never shown; carries extra keys
  QAction* Paste2 = nullptr;
  QMenu* Popup1 = nullptr;
  QAction *CopyPM = nullptr, *CutPM = nullptr, *PastePM = nullptr, *SelAllPM = nullptr,
          *CleanPM = nullptr;

  // Toolbars and their buttons; ImageList holds the recoding buttons'
  // pictures in button order.
  DockToolBar *CodeBar = nullptr, *FileBar = nullptr, *PathBar = nullptr;
  std::vector<QPixmap> ImageList;
  QToolButton *Btn0 = nullptr, *Btn1 = nullptr, *Btn2 = nullptr, *Btn3 = nullptr, *Btn4 = nullptr,
              *Btn5 = nullptr, *Btn6 = nullptr, *Btn7 = nullptr, *Btn8 = nullptr, *Btn9 = nullptr,
              *Btn10 = nullptr;
  QToolButton *ToolbarButton9719 = nullptr, *ToolbarButton9718 = nullptr,
              *ToolbarButton973 = nullptr, *ToolbarButton972 = nullptr,
              *ToolbarButton9717 = nullptr, *ToolbarButton9716 = nullptr,
              *ToolbarButton9711 = nullptr, *ToolbarButton975 = nullptr,
              *ToolbarButton9720 = nullptr;
  QToolButton* BtnAuto = nullptr;  // "Авто", last on CodeBar
  QComboBox* FileBox = nullptr;
  QToolButton* ToolbarButton9721 = nullptr;
  // At most this many names in the recent-file list.
  static constexpr int kMaxRecentFiles = 10;

  TAboutBox* AboutBox = nullptr;
  // The maker's web site, for "Velkor software online".
  TGoToWeb* GoToWeb1 = nullptr;

 private:
  void CreatePanes();
  void CreateMenus();
  void CreateHiddenKeys();
  void CreatePopup();
  void CreateToolbars();
  // F1 for the whole application and the link to the maker's site.
  void CreateHelp();
  QAction* AddCommand(QMenu* menu, QAction*& item, const char* name, const QString& caption,
                      const QKeySequence& shortcut, void (TMainFrm::*handler)());
  QToolButton* AddButton(QToolBar* bar, const char* name, const QString& hint,
                         void (TMainFrm::*handler)());

  void closeEvent(QCloseEvent* event) override;

  ProgramOptions options_;
  std::function<void()> open_scheme_editor_;
  std::function<void()> form_close_;
  bool closed_ = false;
  QString open_dialog_folder_;
  QString last_open_name_;  // the name last chosen in the open dialog
  TextFileForm opened_form_;
  std::unique_ptr<QPrinter> printer_;
  QString loaded_name_;  // the file last loaded into the panes
  // A PDF name in the documents folder that no file has yet.
  QString NewPdfName() const;

  ShellIntegration* shell_ = nullptr;
  TSystemTrayIcon* tray_icon_ = nullptr;
};

}  // namespace lirvane
