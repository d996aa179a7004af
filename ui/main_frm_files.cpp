// Files, the recent-file list and printing. Opening always fills the left
// pane (through the remembered text), saving and printing take the right.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "platform/busy_cursor.h"
#include "platform/dialogs.h"
#include "platform/text_pane.h"
#include "ui/file_names.h"
#include "ui/main_frm.h"

namespace lirvane {
namespace {

QStringList FileFilters() {
  return {QString::fromUtf8("Текстовые и HTML (*.txt *.diz *.me *.htm *.sht *.asp)"),
          QString::fromUtf8("Файлы RTF (*.rtf)"), QString::fromUtf8("Все файлы (*)")};
}

// Resets a pane to plain-text mode however the step ends.
class RtfModeFor {
 public:
  RtfModeFor(TextPane& pane, bool on) : pane_(pane) { pane_.SetRtfMode(on); }
  ~RtfModeFor() { pane_.SetRtfMode(false); }

 private:
  TextPane& pane_;
};

}  // namespace

QPrinter& TMainFrm::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void TMainFrm::NewSMClick() {
  MemoBk->Clear();
  MemoF->Clear();
  MemoF2->Clear();
}

void TMainFrm::OpenSMClick() {
  const std::optional<QString> name = AppDialogs().OpenFileName(
      this, {QString::fromUtf8("Выберите файл"), FileFilters(), open_dialog_folder_});
  if (!name) return;
  last_open_name_ = *name;
  FileBox->setEditText(*name);
  LoadFileFromBox();
}

void TMainFrm::ToolbarButton9721Click() { LoadFileFromBox(); }
void TMainFrm::FileBoxKeyPress() { LoadFileFromBox(); }

void TMainFrm::LoadFileFromBox() {
  const QString name = FileBox->currentText();
  if (name.isEmpty() || !QFileInfo(name).isFile()) {
    ShowPlainMessage(this, QString::fromUtf8("Файл не найден!"));
    return;
  }
  BusyCursor busy;
  {
    RtfModeFor mode(*MemoBk, HasRtfEnding(name));
    try {
      opened_form_ = MemoBk->LoadFromFile(name, options_.utf8_files);
    } catch (const std::exception&) {
      busy.Restore();
      ShowPlainMessage(this, QString::fromUtf8("Ошибка при открытии файла!"));
      return;
    }
    open_dialog_folder_ = FolderPart(name);
  }
  MemoF->CopyContentsFrom(*MemoBk);
  if (NotInRecentList(name)) FileBox->addItem(name);
  if (FileBox->count() > kMaxRecentFiles) FileBox->removeItem(0);
  // Changing the list must not change the name being worked with.
  FileBox->setEditText(name);
}

TextFileForm TMainFrm::SaveFileForm() const {
  if (!options_.utf8_files) return {};
  TextFileForm form;
  form.utf8 = true;
  form.byte_order_mark = opened_form_.utf8 && opened_form_.byte_order_mark;
  form.line_break = opened_form_.line_break;
#ifndef _WIN32
  // Nothing opened to follow: the system's own line break.
  if (form.line_break.empty()) form.line_break.push_back('\n');
#endif
  return form;
}

bool TMainFrm::NotInRecentList(const QString& name) const {
  const QString folded = name.toLower();
  for (int i = 0; i < FileBox->count(); ++i)
    if (FileBox->itemText(i).toLower() == folded) return false;
  return true;
}

void TMainFrm::SaveSMClick() {
  const QString current = FileBox->currentText();
  FileDialogRequest request{QString::fromUtf8("Укажите имя файла"), FileFilters(), QString()};
  if (!current.isEmpty()) request.directory = FolderPart(current);
  const std::optional<QString> name = AppDialogs().SaveFileName(this, request);
  if (!name) return;
  {
    RtfModeFor mode(*MemoF2, HasRtfEnding(*name));
    try {
      MemoF2->SaveToFile(*name, SaveFileForm());
    } catch (const std::exception&) {
      ShowPlainMessage(this, QString::fromUtf8("Ошибка при записи на диск!"));
    }
  }
  // The name is recorded even when the write failed.
  if (NotInRecentList(*name)) {
    if (FileBox->count() > kMaxRecentFiles - 1) FileBox->removeItem(1);
    FileBox->addItem(*name);
  }
  FileBox->setEditText(current);
}

void TMainFrm::N4Click() { AppDialogs().PrinterSetup(this, Printer()); }

void TMainFrm::ShowPrintMClick() {
  // The item has already inverted its check mark; the option follows it.
  options_.print_dialog = ShowPrintM->isChecked();
}

void TMainFrm::PrintSMClick() {
  QPrinter& printer = Printer();
  if (options_.print_dialog && !AppDialogs().PrintDialog(this, printer)) return;
  const QString title = QStringLiteral("Velkor Lirvane (") + last_open_name_ + ')';
  // Without any printer the job still goes somewhere a user finds it, and
  // the user is told where.
  const bool to_pdf = QPrinterInfo::availablePrinters().isEmpty() &&
                      (printer.outputFileName().isEmpty() ||
                       printer.outputFileName() == fallback_pdf_);
  if (to_pdf) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDir folder(documents.isEmpty() ? QDir::homePath() : documents);
    folder.mkpath(QStringLiteral("."));
    fallback_pdf_ = folder.filePath(QStringLiteral("Velkor Lirvane.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fallback_pdf_);
  }
  BusyCursor busy;
  const bool printed = MemoF2->Print(printer, title);
  busy.Restore();
  if (!printed) {
    ShowPlainMessage(this, QString::fromUtf8("Ошибка при печати!"));
  } else if (to_pdf) {
    ShowPlainMessage(this, QString::fromUtf8("Принтер не найден. Документ сохранён в файле\n") +
                               QDir::toNativeSeparators(fallback_pdf_));
  }
}

}  // namespace lirvane
