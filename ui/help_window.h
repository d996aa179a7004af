// The program's own help viewer: the program's HTML help file
// in a window that stays open beside the program, scrolled to a topic.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace lirvane {

// The help file unless set: "lirvane.html" beside the executable, or in
// <prefix>/share/lirvane for an installed copy.
QString HelpFilePath();
void SetHelpFile(const QString& path);

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Loads the help file when it is not loaded yet (or has moved) and
  // scrolls to the topic's anchor "topic<number>".
  void ShowTopic(int topic);
  // The file shown; empty while the help file could not be read.
  QString LoadedFile() const { return loaded_file_; }

  QTextBrowser* Browser = nullptr;

 private:
  bool Load(const QString& path);
  QString loaded_file_;
};

// The one help window, made when first asked for.
THelpWindow* HelpWindow();
// Closes the help window if it was made: being a window of its own, it
// would otherwise keep the program running after the main window closed.
void CloseHelpWindow();
// Shows the help window at a topic.
void ShowHelpTopic(int topic);

}  // namespace lirvane
