#include "app/settings.h"

#include <QAction>
#include <QComboBox>
#include <QSplitter>
#include <functional>
#include <string>

#include "platform/store/store_accessor.h"
#include "platform/dialogs.h"
#include "platform/dock_toolbar.h"
#include "platform/pane_text_codec.h"
#include "platform/text_pane.h"
#include "ui/custom_frm.h"
#include "ui/file_names.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

constexpr std::string_view kVersionKey = "\\SOFTWARE\\Velkor\\Lirvane\\Version";
constexpr std::string_view kProgramKey = "\\SOFTWARE\\Velkor\\Lirvane\\Program";

// Texts in the store: Windows-1251 where the registry holds them as
// 8-bit strings, UTF-8 (the file system's encoding) elsewhere.
std::string ToStore(const QString& text) {
#ifdef _WIN32
  return PaneTextToBytes(text);
#else
  return text.toStdString();
#endif
}

QString FromStore(const std::string& text) {
#ifdef _WIN32
  return BytesToPaneText(text);
#else
  return QString::fromStdString(text);
#endif
}

void SetMainLeft(TMainFrm& frm, int left) { frm.move(left, frm.y()); }
void SetMainTop(TMainFrm& frm, int top) { frm.move(frm.x(), top); }

void SetLeftPaneWidth(TMainFrm& frm, int width) {
  const QList<int> sizes = frm.Splitter1->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  frm.Splitter1->setSizes({width, std::max(total - width, 1)});
}

}  // namespace

namespace settings_detail {

bool OpenProgramKey(StoreAccessor& store) {
  store.SetRoot(StoreRoot::kLocalMachine);
  return store.OpenKey(kProgramKey, false);
}

void ApplyButtonView(TMainFrm& main_frm) { main_frm.SetButtonView(); }

void LoadLayoutGroup(TMainFrm& frm, TCustomFrm& custom, StoreAccessor& store,
                     SettingsLoadResult& result) {
  ProgramOptions& options = frm.Options();
  // The group stops silently at its first missing value or value of
  // another kind; what was applied before stays.
  try {
    frm.resize(store.ReadInteger("FWidth"), frm.height());
    frm.resize(frm.width(), store.ReadInteger("FHeight"));
    SetMainTop(frm, store.ReadInteger("FTop"));
    SetMainLeft(frm, store.ReadInteger("FLeft"));
    result.maximized = store.ReadInteger("WS") == 1;
    custom.move(custom.x(), store.ReadInteger("FCTop"));
    custom.move(store.ReadInteger("FCLeft"), custom.y());
    SetLeftPaneWidth(frm, store.ReadInteger("MFWidth"));
    options.show_pictures = store.ReadBool("showglyph");
    options.show_captions = store.ReadBool("showcaption");
    options.print_dialog = store.ReadBool("AlwaysPrintDlg");
    frm.FileBar->SetPosition(store.ReadInteger("FileBarPos"));
    frm.CodeBar->SetPosition(store.ReadInteger("CodeBarPos"));
    frm.PathBar->SetPosition(store.ReadInteger("PathBarPos"));
    const bool save_options = store.ReadBool("SaveOpt");
    frm.MSaveOpt->setChecked(save_options);
    frm.ShowPrintM->setChecked(options.print_dialog);
    frm.CodeBar->setVisible(store.ReadBool("CodeBarV"));
    frm.FileBar->setVisible(store.ReadBool("FileBarV"));
    frm.PathBar->setVisible(store.ReadBool("FileBoxV"));
    frm.CodeBar->SetDock(store.ReadInteger("CodeBarD"));
    frm.FileBar->SetDock(store.ReadInteger("FileBarD"));
    frm.PathBar->SetDock(store.ReadInteger("PathBarD"));
    options.code_bar_row = store.ReadInteger("CodeBarRow");
    options.file_bar_row = store.ReadInteger("FileBarRow");
    options.path_bar_row = store.ReadInteger("PathBarRow");
    // A bar put into a row pushes the bars already there along it, so the
    // rows of the visible CodeBar and FileBar are set once more after all
    // three: each then ends up in its own remembered row whatever order the
    // dock gave them (the View menu's toggles re-apply them the same way).
    frm.FileBar->SetRow(options.file_bar_row);
    frm.CodeBar->SetRow(options.code_bar_row);
    frm.PathBar->SetRow(options.path_bar_row);
    if (!frm.CodeBar->isHidden()) frm.CodeBar->SetRow(options.code_bar_row);
    if (!frm.FileBar->isHidden()) frm.FileBar->SetRow(options.file_bar_row);
    frm.MShowCode->setChecked(!frm.CodeBar->isHidden());
    frm.MShowFile->setChecked(!frm.FileBar->isHidden());
    frm.MShowList->setChecked(!frm.PathBar->isHidden());
    result.tray_icon = store.ReadBool("Tray1");
    frm.Tray1->setChecked(result.tray_icon);
  } catch (const std::exception&) {
    // The marks must still tell the truth about the toolbars.
    frm.ShowPrintM->setChecked(options.print_dialog);
    frm.MShowCode->setChecked(!frm.CodeBar->isHidden());
    frm.MShowFile->setChecked(!frm.FileBar->isHidden());
    frm.MShowList->setChecked(!frm.PathBar->isHidden());
  }
}

void LoadUtf8Files(TMainFrm& frm, StoreAccessor& store) {
  ProgramOptions& options = frm.Options();
  try {
    if (OpenProgramKey(store)) options.utf8_files = store.ReadBool("Utf8Files");
  } catch (const std::exception&) {
    // Missing or of another kind: the option keeps its start value.
  }
  frm.MUtf8Files->setChecked(options.utf8_files);
}

void LoadRecentFiles(TMainFrm& frm, StoreAccessor& store) {
  if (!OpenProgramKey(store)) return;
  std::string last_read;
  try {
    for (int i = 0; i < TMainFrm::kMaxRecentFiles; ++i) {
      last_read = store.ReadString("Last" + std::to_string(i));
      if (!last_read.empty()) frm.FileBox->addItem(FromStore(last_read));
    }
  } catch (const std::exception&) {
    // A value of another kind ends the list; the folder comes from the
    // value read last.
  }
  frm.SetOpenDialogFolder(FolderPart(FromStore(last_read)));
  frm.FileBox->setEditText(QString());
}

void LoadFonts(TMainFrm& frm, StoreAccessor& store) {
  ProgramOptions& options = frm.Options();
  options.normal_font_size = store.ReadInteger("FSZ");
  options.normal_font_name = FromStore(store.ReadString("FNM"));
  QFont font = frm.MemoF2->BaseFont();
  if (options.normal_font_size > 0) font.setPointSize(options.normal_font_size);
  if (!options.normal_font_name.isEmpty()) font.setFamily(options.normal_font_name);
  frm.MemoF2->SetBaseFont(font);
}

}  // namespace settings_detail

namespace {

// Writes values one by one; the first failure is shown, the others are
// still attempted so that one bad value does not cost the rest.
class SettingsWriter {
 public:
  SettingsWriter(TMainFrm& frm, StoreAccessor& store) : frm_(frm), store_(store) {}

  void Write(const std::function<void()>& write) {
    try {
      write();
    } catch (const std::exception& e) {
      if (!reported_) ShowErrorBox(&frm_, QString::fromUtf8(e.what()));
      reported_ = true;
    }
  }
  void Integer(const char* name, int value) {
    Write([&] { store_.WriteInteger(name, value); });
  }
  void Bool(const char* name, bool value) {
    Write([&] { store_.WriteBool(name, value); });
  }
  void String(const std::string& name, const std::string& value) {
    Write([&] { store_.WriteString(name, value); });
  }

  // A docked toolbar's dock. A floating one keeps what the store holds;
  // with nothing stored yet it gets the top dock, so that the next start's
  // layout group is not stopped by a missing value.
  void Dock(const char* name, const DockToolBar& bar) {
    const int dock = bar.CurrentDock();
    if (dock != DockToolBar::kFloating) {
      Integer(name, dock);
      return;
    }
    try {
      store_.ReadInteger(name);
    } catch (const StoreError&) {
      Integer(name, DockToolBar::kUpDock);
    }
  }

 private:
  TMainFrm& frm_;
  StoreAccessor& store_;
  bool reported_ = false;
};

// False when the settings key cannot be had, so nothing may be written.
bool SaveLayout(TMainFrm& frm, TCustomFrm& custom, StoreAccessor& store, SettingsWriter& w) {
  ProgramOptions& options = frm.Options();
  options.path_bar_row = frm.PathBar->Row();
  options.file_bar_row = frm.FileBar->Row();
  options.code_bar_row = frm.CodeBar->Row();
  store.SetRoot(StoreRoot::kLocalMachine);
  w.Write([&] {
    if (!store.OpenKey(kVersionKey, true)) throw StoreError("Failed to set data for ''");
    store.WriteString("", "3.0");
  });
  if (!store.OpenKey(kProgramKey, true)) {
    w.Write([] { throw StoreError("Failed to set data for ''"); });
    return false;
  }
  // A maximized window is stored with its normal place and size, so that
  // the next start has every layout value to read.
  const QRect normal = frm.isMaximized() ? frm.normalGeometry() : frm.geometry();
  const QRect frame = frm.isMaximized() ? normal : frm.frameGeometry();
  w.Integer("FWidth", normal.width());
  w.Integer("FHeight", normal.height());
  w.Integer("FTop", frame.y());
  w.Integer("FLeft", frame.x());
  w.Integer("WS", frm.isMaximized() ? 1 : 0);
  w.Integer("FSZ", options.normal_font_size);
  w.String("FNM", ToStore(options.normal_font_name));
  w.Integer("FCTop", custom.y());
  w.Integer("FCLeft", custom.x());
  w.Integer("MFWidth", frm.MemoF->width());
  w.Integer("FileBarPos", frm.FileBar->Position());
  w.Integer("CodeBarPos", frm.CodeBar->Position());
  w.Integer("PathBarPos", frm.PathBar->Position());
  w.Bool("showglyph", options.show_pictures);
  w.Bool("showcaption", options.show_captions);
  w.Bool("AlwaysPrintDlg", options.print_dialog);
  w.Integer("CodeBarRow", options.code_bar_row);
  w.Integer("FileBarRow", options.file_bar_row);
  w.Integer("PathBarRow", options.path_bar_row);
  w.Bool("CodeBarV", !frm.CodeBar->isHidden());
  w.Bool("FileBarV", !frm.FileBar->isHidden());
  w.Bool("FileBoxV", !frm.PathBar->isHidden());
  w.Dock("FileBarD", *frm.FileBar);
  w.Dock("PathBarD", *frm.PathBar);
  w.Dock("CodeBarD", *frm.CodeBar);
  w.Bool("Tray1", frm.Tray1->isChecked());
  w.Bool("Utf8Files", options.utf8_files);
  return true;
}

}  // namespace

void SaveSettings(TMainFrm& frm, TCustomFrm& custom, StoreAccessor& store) {
  SettingsWriter w(frm, store);
  const bool save_options = frm.MSaveOpt->isChecked();
  if (save_options) {
    if (!SaveLayout(frm, custom, store, w)) return;
  } else if (!settings_detail::OpenProgramKey(store)) {
    return;  // settings were never saved: nothing to record them in
  }
  w.Bool("SaveOpt", save_options);
  for (int i = 0; i < std::min(frm.FileBox->count(), TMainFrm::kMaxRecentFiles); ++i)
    w.String("Last" + std::to_string(i), ToStore(frm.FileBox->itemText(i)));
}

}  // namespace lirvane
