// The copyright window: the rights notice in Russian and English and the
// credits, with a way to print them. Created anew for each showing and
// destroyed by its owner once closed.
#pragma once

#include <QDialog>
#include <QString>

class QPrinter;
class QPushButton;
class QTextEdit;

namespace lirvane {

// The print job's title.
inline constexpr char kCopyrightJobTitle[] = "Copyright Information";

class TCopyrightFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TCopyrightFrm(QWidget* parent = nullptr);

  void Button1Click();
  void Button2Click();

  // Prints the whole text on a printer that is already set up.
  void PrintText(QPrinter& printer) const;

  // Where there is no printer (test machines): print to this PDF file
  // instead of the system's printer. Empty for the system's printer.
  void SetPrintOutputFile(const QString& file_name) { print_output_file_ = file_name; }

  QTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  QString print_output_file_;
};

// The copyright text shown in Memo1, as HTML.
QString CopyrightText();

}  // namespace lirvane
