// Loaded into the installed program with LD_PRELOAD for a window start on
// the offscreen platform, where nobody can look or click: it answers every
// message box and writes its text to the report, opens the help, reports
// the help file shown and the scheme editor's list, and then closes the
// main window as a user would, so that the exit writes what it writes.
// The report ($LIRVANE_PROBE_REPORT) holds one "what: value" line each.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QWidget>

namespace {

void Report(const QString& what, const QString& value) {
  QFile file(qEnvironmentVariable("LIRVANE_PROBE_REPORT"));
  if (!file.open(QIODevice::Append)) return;
  file.write((what + QStringLiteral(": ") + value + QLatin1Char('\n')).toUtf8());
}

QWidget* TopLevel(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QLatin1String(name)) return widget;
  return nullptr;
}

// One step each tick, so the program's own events run in between.
void Tick() {
  static int ticks = 0;
  static int stage = 0;
  if (++ticks > 400) {  // 20 s: give up, but end the run
    Report(QStringLiteral("timeout"), QString::number(stage));
    QCoreApplication::exit(99);
    return;
  }
  if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
    Report(QStringLiteral("message"), box->text());
    // "No" to the first-run question, "OK" to a plain message.
    for (QAbstractButton* button : box->buttons())
      if (box->buttonRole(button) == QMessageBox::NoRole) return button->click();
    box->accept();
    return;
  }
  QWidget* main = TopLevel("MainFrm");
  if (main == nullptr || !main->isVisible()) return;
  switch (stage++) {
    case 0: {
      auto* help = main->findChild<QAction*>(QStringLiteral("HelpSM"));
      if (help != nullptr) help->trigger();
      return;
    }
    case 1: {
      QWidget* window = TopLevel("HelpWindow");
      auto* browser =
          window ? window->findChild<QTextBrowser*>(QStringLiteral("Browser")) : nullptr;
      Report(QStringLiteral("help"), browser ? browser->source().toLocalFile() : QString());
      if (window != nullptr) window->close();
      QWidget* editor = TopLevel("CustomFrm");
      auto* list = editor ? editor->findChild<QListWidget*>(QStringLiteral("ListBox1")) : nullptr;
      for (int i = 0; list != nullptr && i < list->count(); ++i)
        Report(QStringLiteral("scheme"), list->item(i)->text());
      return;
    }
    case 2:
      main->close();
      return;
    default:
      QCoreApplication::quit();
  }
}

void StartProbe() {
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, &Tick);
  timer->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartProbe)
