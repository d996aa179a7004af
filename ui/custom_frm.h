// The scheme editor: assemble a scheme rule by rule, try it on the main
// window's text, save it under a name, look at, run and delete saved ones.
// It owns the scheme table; slot 0 is the scheme being assembled.
#pragma once

#include <QDialog>
#include <filesystem>

#include "schemes/scheme_file.h"
#include "schemes/scheme_table.h"

class QListWidget;
class QMenu;
class QToolButton;

namespace lirvane {

class TMainFrm;
class TNameFrm;

class TCustomFrm : public QDialog {
  Q_OBJECT

 public:
  TCustomFrm(TMainFrm* main_frm, QWidget* parent = nullptr);

  // The scheme part of the window's creation: a fresh work record, the
  // scheme file read into the table and the list, the rule list emptied.
  SchemeLoadResult FormCreate(const std::filesystem::path& scheme_file);

  void SetNameFrm(TNameFrm* name_frm) { name_frm_ = name_frm; }

  SchemeTable& Schemes() { return table_; }

  // Shows the editor without making it modal, or brings it to the front.
  void ShowEditor();

  // The code page menus.
  void Win12511Click();
  void KOI8R1Click();
  void Alt8661Click();
  void Macintosh1Click();
  void ISO885951Click();
  void UTF81Click();
  void Win12512Click();
  void KOI8R2Click();
  void Alt8662Click();
  void Macintosh2Click();
  void ISO885952Click();
  void UTF82Click();

  void AddBtnClick();
  void ExecBtnClick();
  void ClearBtnClick();
  void ListBox1Click();
  void AddToListBtnClick();
  void DelFromListBtnClick();
  void ListBtnClick();

  int32_t FromCode = 0;
  int32_t ToCode = 0;
  bool RuleStarted = false;

  QToolButton *FromBtn = nullptr, *TargetBtn = nullptr, *AddBtn = nullptr;
  QMenu *FromPopUp = nullptr, *ToPopUp = nullptr;
  QListWidget *CBox = nullptr, *ListBox1 = nullptr;
  QToolButton *ListBtn = nullptr, *ClearBtn = nullptr, *ExecBtn = nullptr, *AddToListBtn = nullptr,
              *DelFromListBtn = nullptr;

 private:
  void CreateControls();
  void ChooseFrom(const QString& caption, int32_t code);
  void ChooseTo(const QString& caption, int32_t code);
  // The selected entry of ListBox1, or -1.
  int SelectedSlot() const;

  TMainFrm* main_frm_;
  TNameFrm* name_frm_ = nullptr;
  SchemeTable table_;
};

}  // namespace lirvane
