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
#include "platform/print_document.h"
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
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    ClearPageMargins(*printer_);  // "Принтер..." may set some
  }
  return *printer_;
}

void TMainFrm::NewSMClick() {
  loaded_name_.clear();
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
  loaded_name_ = name;
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
  const bool dialog = options_.print_dialog;
  if (dialog && !AppDialogs().PrintDialog(this, printer)) return;
  const bool no_printer = QPrinterInfo::availablePrinters().isEmpty();
  // A file chosen in the print dialog is written only from that dialog,
  // which asks before it replaces one. Without the dialog, and whenever
  // there is no printer to send the job to, the job goes to a new file
  // that the user is told of: never over a file that is there.
  const bool to_new_pdf = dialog ? no_printer && printer.outputFileName().isEmpty()
                                 : no_printer || !printer.outputFileName().isEmpty();
  QString pdf;
  if (to_new_pdf) {
    pdf = NewPdfName();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
  }
  // A printer's job carries the name chosen in the open dialog; a PDF is
  // titled with the printed text's file name, or the program's name.
  const bool to_file = !printer.outputFileName().isEmpty();
  const QString title = to_file ? (loaded_name_.isEmpty() ? QStringLiteral("Velkor Lirvane")
                                                          : QFileInfo(loaded_name_).fileName())
                                : QStringLiteral("Velkor Lirvane (") + last_open_name_ + ')';
  BusyCursor busy;
  const bool printed = MemoF2->Print(printer, title);
  busy.Restore();
  if (to_new_pdf) printer.setOutputFileName(QString());  // the next job finds a name of its own
  if (!printed) {
    ShowPlainMessage(this, QString::fromUtf8("Ошибка при печати!"));
  } else if (to_new_pdf) {
    ShowPlainMessage(this,
                     QString::fromUtf8(no_printer ? "Принтер не найден. Документ сохранён в файле\n"
                                                  : "Документ сохранён в файле\n") +
                         QDir::toNativeSeparators(pdf));
  }
}

QString TMainFrm::NewPdfName() const {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QDir folder(documents.isEmpty() ? QDir::homePath() : documents);
  folder.mkpath(QStringLiteral("."));
  QString name = folder.filePath(QStringLiteral("Velkor Lirvane.pdf"));
  for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
    name = folder.filePath(QStringLiteral("Velkor Lirvane (%1).pdf").arg(n));
  return name;
}

}  // namespace lirvane
