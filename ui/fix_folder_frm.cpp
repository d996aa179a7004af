#include "ui/fix_folder_frm.h"

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <atomic>

#include "batch/batch_options.h"
#include "batch/file_list.h"
#include "batch/file_task.h"
#include "batch/repair_preview.h"
#include "platform/busy_cursor.h"

namespace lirvane {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr size_t kPreviewBytes = size_t{16} << 10;

BatchOptions FixOptions(bool dry_run) {
  BatchOptions options;
  options.command = BatchOptions::Command::kFix;
  options.dry_run = dry_run;
  return options;
}

}  // namespace

TFixFolderFrm::TFixFolderFrm(QWidget* parent) : QDialog(parent) {
  setObjectName("FixFolderFrm");
  setWindowTitle(QString::fromUtf8("Исправить папку"));
  resize(560, 420);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  setFont(f);

  FolderLabel = new QLabel(this);
  FolderLabel->setObjectName("FolderLabel");
  FolderLabel->setGeometry(8, 8, 544, 16);
  FileList = new QTreeWidget(this);
  FileList->setObjectName("FileList");
  FileList->setGeometry(8, 28, 544, 220);
  FileList->setRootIsDecorated(false);
  FileList->setHeaderLabels({QString::fromUtf8("Файл"), QString::fromUtf8("Состояние")});
  FileList->header()->resizeSection(0, 330);
  Preview = new QPlainTextEdit(this);
  Preview->setObjectName("Preview");
  Preview->setGeometry(8, 254, 544, 128);
  Preview->setReadOnly(true);
  CloseBtn = new QPushButton(QString::fromUtf8("&Закрыть"), this);
  CloseBtn->setObjectName("CloseBtn");
  CloseBtn->setGeometry(396, 390, 75, 23);
  CloseBtn->setAutoDefault(false);
  FixBtn = new QPushButton(QString::fromUtf8("&Исправить"), this);
  FixBtn->setObjectName("FixBtn");
  FixBtn->setGeometry(477, 390, 75, 23);
  FixBtn->setDefault(true);
  connect(FileList, &QTreeWidget::currentItemChanged, this, &TFixFolderFrm::FileListClick);
  connect(FixBtn, &QPushButton::clicked, this, &TFixFolderFrm::FixBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &TFixFolderFrm::CloseBtnClick);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TFixFolderFrm::CheckFolder(const QString& folder) {
  BusyCursor busy;
  FolderLabel->setText(folder);
  FileList->clear();
  Preview->clear();
  const std::atomic<bool> never{false};
  const BatchOptions dry_run = FixOptions(true);
  for (const ListedItem& file : ListFiles({folder.toStdString()}, true, false)) {
    if (file.folder) continue;
    FileOutcome outcome;
    if (!file.error.empty()) {
      outcome = {FileOutcome::Kind::kError, "error " + file.error};
    } else {
      outcome = FixFile(file.path, dry_run, never);  // says only what it would change
      if (outcome.text.empty()) outcome = CheckFile(file.path, never);
    }
    auto* item = new QTreeWidgetItem(FileList);
    item->setText(0, QDir(folder).relativeFilePath(QString::fromStdString(file.path)));
    item->setText(1, QString::fromStdString(outcome.text));
    item->setData(0, kPathRole, QString::fromStdString(file.path));
    if (outcome.kind == FileOutcome::Kind::kToFix) item->setCheckState(0, Qt::Checked);
  }
}

void TFixFolderFrm::FileListClick() {
  const QTreeWidgetItem* item = FileList->currentItem();
  if (item == nullptr || item->data(0, Qt::CheckStateRole).isNull()) {
    Preview->clear();
    return;
  }
  const std::string path = item->data(0, kPathRole).toString().toStdString();
  Preview->setPlainText(
      QString::fromStdString(RepairPreview(path, TargetPage::kUtf8, kPreviewBytes)));
}

void TFixFolderFrm::FixBtnClick() {
  BusyCursor busy;
  const std::atomic<bool> never{false};
  const BatchOptions fix = FixOptions(false);
  for (int i = 0; i < FileList->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = FileList->topLevelItem(i);
    if (item->data(0, Qt::CheckStateRole).isNull() || item->checkState(0) != Qt::Checked) continue;
    const FileOutcome outcome =
        FixFile(item->data(0, kPathRole).toString().toStdString(), fix, never);
    item->setText(1, QString::fromStdString(outcome.text));
    item->setData(0, Qt::CheckStateRole, QVariant());  // done: no longer to tick
  }
  FileListClick();
}

void TFixFolderFrm::CloseBtnClick() { accept(); }

}  // namespace lirvane
