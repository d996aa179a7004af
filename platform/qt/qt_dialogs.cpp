// The dialogs a user sees: Qt's message boxes and standard dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "platform/dialogs.h"

namespace lirvane {
namespace {

// A box over a window that is not shown yet (a message at start-up, before
// the main window comes up) stands on its own: as the box's parent the
// window would be made early, before its stored place is applied, and then
// take that place for its client area instead of its frame.
QWidget* Owner(QWidget* parent) {
  return parent && parent->window()->isVisible() ? parent : nullptr;
}

// A box is as wide as its text needs, which can leave the window manager
// too little room for the title beside the window's icon and buttons (the
// title then shows cut short); the box is made wide enough for all of them,
// reckoning with the bold face most title bars use.
void MakeRoomForTitle(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  QFont title_font = box.font();
  title_font.setBold(true);
  constexpr int kIconAndButtons = 140;
  const int needed =
      QFontMetrics(title_font).horizontalAdvance(box.windowTitle()) + kIconAndButtons;
  grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

class QtDialogs : public Dialogs {
 public:
  void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                   MessageIcon icon) override {
    parent = Owner(parent);
    QMessageBox box(icon == MessageIcon::kError      ? QMessageBox::Critical
                    : icon == MessageIcon::kQuestion ? QMessageBox::Question
                                                     : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, parent);
    MakeRoomForTitle(box);
    box.exec();
  }

  ConfirmAnswer Confirm(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, Owner(parent));
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    MakeRoomForTitle(box);
    box.exec();
    if (box.clickedButton() == yes) return ConfirmAnswer::kYes;
    if (box.clickedButton() == no) return ConfirmAnswer::kNo;
    return ConfirmAnswer::kClosed;
  }

  std::optional<QString> OpenFileName(QWidget* parent, const FileDialogRequest& request) override {
    QString selected = request.filters.value(0);
    const QString name = QFileDialog::getOpenFileName(parent, request.title, request.directory,
                                                      request.filters.join(";;"), &selected);
    if (name.isEmpty()) return std::nullopt;
    return name;
  }

  std::optional<QString> SaveFileName(QWidget* parent, const FileDialogRequest& request) override {
    QString selected = request.filters.value(0);
    // No overwrite question: a save replaces the file of that name.
    const QString name = QFileDialog::getSaveFileName(parent, request.title, request.directory,
                                                      request.filters.join(";;"), &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return name;
  }

  std::optional<QString> ChooseFolder(QWidget* parent, const QString& title,
                                      const QString& directory) override {
    const QString folder = QFileDialog::getExistingDirectory(parent, title, directory);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
  }

  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override {
    // Qt's own dialog, so that its effects (strike-out, underline) and its
    // writing-system choice can be taken away: only name, style and size
    // count here.
    QFontDialog dialog(initial, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    for (QCheckBox* effect : dialog.findChildren<QCheckBox*>()) {
      if (QWidget* group = qobject_cast<QGroupBox*>(effect->parentWidget())) group->hide();
      effect->hide();
    }
    for (QComboBox* writing_system : dialog.findChildren<QComboBox*>()) {
      writing_system->hide();
      for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() == writing_system) label->hide();
    }
    // Without those rows Qt's layout leaves the sample no height: it gets
    // room for a few lines, and Cyrillic letters to judge the font by.
    if (auto* sample = dialog.findChild<QLineEdit*>("qt_fontDialog_sampleEdit")) {
      sample->setMinimumHeight(3 * sample->fontMetrics().height());
      sample->setText(QString::fromUtf8("АаБбЖжЯя AaBbYyZz"));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFont();
  }

  bool PrintDialog(QWidget* parent, QPrinter& printer) override {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }

  bool PrinterSetup(QWidget* parent, QPrinter& printer) override {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }

  int ExecModal(QDialog& dialog) override { return dialog.exec(); }
};

}  // namespace

std::unique_ptr<Dialogs> MakeQtDialogs() { return std::make_unique<QtDialogs>(); }

}  // namespace lirvane
