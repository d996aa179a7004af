#include "ui/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/glyphs.h"
#include "base/executable_path.h"

namespace lirvane {
namespace {

QString& HelpFileSetting() {
  static QString path;
  return path;
}

}  // namespace

QString HelpFilePath() {
  if (!HelpFileSetting().isEmpty()) return HelpFileSetting();
  return QString::fromStdString(ProgramDataFile("lirvane.html").string());
}

void SetHelpFile(const QString& path) { HelpFileSetting() = path; }

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpWindow");
  setWindowTitle(QString::fromUtf8("Справка — Lirvane!"));
  setWindowIcon(AppIcon());
  resize(640, 480);
  Browser = new QTextBrowser(this);
  Browser->setObjectName("Browser");
  Browser->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Browser);
}

bool THelpWindow::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    loaded_file_.clear();
    Browser->setPlainText(QString::fromUtf8("Файл справки не найден: ") +
                          QDir::toNativeSeparators(path));
    return false;
  }
  file.close();
  Browser->setSource(QUrl::fromLocalFile(path));
  loaded_file_ = path;
  return true;
}

void THelpWindow::ShowTopic(int topic) {
  const QString path = HelpFilePath();
  const bool loaded = path == loaded_file_ || Load(path);
  // Over a modal window the help would be blocked; it then comes up modal
  // itself, so that it can be read and closed.
  const QWidget* modal = QApplication::activeModalWidget();
  const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != wanted) {
    hide();
    setWindowModality(wanted);
  }
  show();
  raise();
  activateWindow();
  // Anchors can only be found once the text is laid out in a shown window.
  if (loaded) Browser->scrollToAnchor(QStringLiteral("topic%1").arg(topic));
}

namespace {

// Parentless so that it is not hidden with a dialog; the pointer keeps it
// for the rest of the run.
QPointer<THelpWindow>& TheHelpWindow() {
  static QPointer<THelpWindow> window;
  return window;
}

}  // namespace

THelpWindow* HelpWindow() {
  if (!TheHelpWindow()) TheHelpWindow() = new THelpWindow();
  return TheHelpWindow();
}

void CloseHelpWindow() {
  if (TheHelpWindow()) TheHelpWindow()->close();
}

void ShowHelpTopic(int topic) { HelpWindow()->ShowTopic(topic); }

}  // namespace lirvane
