// Every modal interaction of the program goes through one Dialogs object
// that the application owns: message boxes, the confirmation box, the open,
// save, font, print and printer dialogs, and the program's own modal
// windows. The Qt implementation shows real dialogs; tests install a
// scripted one.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace lirvane {

enum class MessageIcon { kNone, kError, kQuestion };

enum class ConfirmAnswer { kYes, kNo, kClosed };

struct FileDialogRequest {
  QString title;
  QStringList filters;  // "Name (*.a *.b)", the first one selected
  QString directory;    // starting folder; empty for the default
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box with one OK button.
  virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                           MessageIcon icon) = 0;
  // Question icon, buttons "&Yes" (the default) and "&No"; Esc answers No.
  virtual ConfirmAnswer Confirm(QWidget* parent, const QString& caption, const QString& text) = 0;

  virtual std::optional<QString> OpenFileName(QWidget* parent,
                                              const FileDialogRequest& request) = 0;
  virtual std::optional<QString> SaveFileName(QWidget* parent,
                                              const FileDialogRequest& request) = 0;
  // A folder chosen by the user; `directory` is the folder to start in.
  virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title,
                                              const QString& directory) = 0;
  virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;
  // True when the user confirmed; the printer then holds the choices.
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
  virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;

  // Runs one of the program's own modal windows; returns its result code.
  virtual int ExecModal(QDialog& dialog) = 0;
};

// The application's dialogs; a Qt implementation until another is set.
Dialogs& AppDialogs();
void SetAppDialogs(std::unique_ptr<Dialogs> dialogs);

std::unique_ptr<Dialogs> MakeQtDialogs();

// The application title: the caption of the main window, of message boxes
// and of the taskbar entry.
QString AppTitle();

// Plain message box: the text, one OK button, the application title.
void ShowPlainMessage(QWidget* parent, const QString& text);
// The general error box: error icon, the application title, the message
// with a full stop added when its last character sorts after ".".
void ShowErrorBox(QWidget* parent, const QString& message);
// The confirmation box, captioned "Confirm".
ConfirmAnswer AskConfirmation(QWidget* parent, const QString& text);

}  // namespace lirvane
