// "Исправить папку": the folder check of the command line's --check and
// --fix in a window. Every file under the folder is listed with its
// verdict; the files a repair would change are ticked, a selected file's
// repaired start is shown below the list, and "Исправить" repairs the
// ticked files in place into UTF-8, as `lirvane --fix -r` does.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lirvane {

class TFixFolderFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TFixFolderFrm(QWidget* parent = nullptr);

  // Checks every file under the folder and fills the list.
  void CheckFolder(const QString& folder);

  void FileListClick();
  void FixBtnClick();
  void CloseBtnClick();

  QLabel* FolderLabel = nullptr;
  QTreeWidget* FileList = nullptr;
  QPlainTextEdit* Preview = nullptr;
  QPushButton* FixBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace lirvane
