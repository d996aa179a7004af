#include "app/application.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include "app/settings.h"
#include "app/shell_integration.h"
#include "platform/store/store_accessor.h"
#include "platform/dialogs.h"
#include "platform/dialogs_message_sink.h"
#include "platform/qt_translations.h"
#include "platform/shell/shell_integration.h"
#include "platform/store/store_backend.h"
#ifndef _WIN32
#include "platform/store/sqlite_store_backend.h"
#endif
#include "schemes/scheme_file.h"
#include "ui/about_box.h"
#include "ui/custom_frm.h"
#include "ui/main_frm.h"
#include "ui/name_frm.h"

namespace lirvane {

Application::Application(std::vector<std::string> args)
    : Application(std::move(args), FindSchemeFileLocation()) {}

Application::Application(std::vector<std::string> args, std::filesystem::path scheme_file)
    : Application(std::move(args), SchemeFileLocation{std::move(scheme_file), {}, false}) {}

Application::Application(std::vector<std::string> args, SchemeFileLocation schemes)
    : args_(std::move(args)),
      schemes_(std::move(schemes)),
      start_kind_(ClassifyFirstArgument(args_)) {}

Application::~Application() = default;

void BoxDismisser::Dismiss(QWidget* window) {
  if (auto* box = qobject_cast<QMessageBox*>(window); box && box->escapeButton())
    box->escapeButton()->click();  // as Esc answers it
  else if (auto* dialog = qobject_cast<QDialog*>(window))
    dialog->reject();
  else
    window->close();
}

bool BoxDismisser::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* window = static_cast<QWidget*>(watched);
    if (window->isWindow() && window->isModal()) {
      // Once its own loop runs, so that the answer ends that loop.
      QPointer<QWidget> box(window);
      QTimer::singleShot(0, this, [box] {
        if (box && box->isVisible()) Dismiss(box);
      });
    }
  }
  return QObject::eventFilter(watched, event);
}

namespace {

// Qt's dialogs keep their state in "QtProject.conf" under the user's
// configuration folder; it goes into the program's own folder there, beside
// the settings store, instead of lying loose.
void KeepQtSettingsInOwnFolder() {
#ifndef _WIN32
  const QString folder = QString::fromStdU16String(
      SqliteStoreBackend::DefaultDatabaseFile().parent_path().u16string());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
#endif
}

}  // namespace

void Application::Start() {
  InstallQtTranslations();
  KeepQtSettingsInOwnFolder();
  main_frm_ = std::make_unique<TMainFrm>();
  MainFrmFormCreate();
  custom_frm_ = std::make_unique<TCustomFrm>(main_frm_.get(), main_frm_.get());
  main_frm_->SetSchemeEditorOpener([this] { custom_frm_->ShowEditor(); });
  CustomFrmFormCreate();
  name_frm_ = std::make_unique<TNameFrm>(main_frm_.get());
  custom_frm_->SetNameFrm(name_frm_.get());
  about_box_ = std::make_unique<TAboutBox>(main_frm_.get());
  main_frm_->SetAboutBox(about_box_.get());
  main_frm_->SetFormClose([this] { MainFrmFormClose(); });
}

void Application::MainFrmFormCreate() {
  store_ = std::make_unique<StoreAccessor>(MakeDefaultStoreBackend());
  CheckStore();
  shell_ = MakeShellIntegration(*store_);
  main_frm_->SetShellIntegration(shell_.get());
  // A failed verb ends this step: the keys below are not made then.
  try {
    WriteShellVerbsAtStart(*shell_);
    store_->SetRoot(StoreRoot::kLocalMachine);
    for (std::string_view key : {"\\SOFTWARE\\Velkor", "\\SOFTWARE\\Velkor\\Lirvane",
                                 "\\SOFTWARE\\Velkor\\Lirvane\\Version"})
      store_->OpenKey(key, true);
  } catch (const std::exception& e) {
    ShowErrorBox(main_frm_.get(), QString::fromUtf8(e.what()));
  }
}

void Application::CheckStore() {
  StoreBackend& backend = store_->Backend();
  switch (backend.Condition()) {
    case StoreCondition::kUsable:
    case StoreCondition::kAbsent:
      return;
    case StoreCondition::kDamaged:
      if (const std::string aside = backend.SetAsideDamaged(); !aside.empty()) {
        ShowPlainMessage(main_frm_.get(),
                         QString::fromUtf8("Файл настроек повреждён. Он сохранён под именем\n") +
                             QString::fromStdString(aside) +
                             QString::fromUtf8("\nи заменён новым: настройки начаты заново."));
        return;
      }
      break;  // could not be moved: left alone like an unreadable one
    case StoreCondition::kUnreadable:
      break;
  }
  store_unreadable_ = true;
  ShowPlainMessage(main_frm_.get(),
                   QString::fromUtf8("Не удалось прочитать настройки: файл настроек занят "
                                     "другой программой или недоступен.\nПрограмма работает "
                                     "с начальными настройками и не изменит сохранённые."));
}

void Application::CustomFrmFormCreate() {
  // A scheme file that stops at a bad scheme shows its error and the start
  // goes on: the settings and the command line do not depend on it.
  custom_frm_->FormCreate(schemes_.FileToRead());
  if (store_unreadable_) {
    main_frm_->SetButtonView();
    DispatchCommandLine();
    return;
  }
  try {
    const SettingsLoadResult settings =
        LoadSettings(*main_frm_, *custom_frm_, *store_, [this](const SettingsLoadResult& r) {
          main_frm_->SwitchTrayIcon(r.tray_icon);
          SetAutorunCheckMark(*main_frm_, *shell_);
        });
    if (settings.first_run) {
      AskAttQuestion(main_frm_.get(), *shell_);
      return;  // the command line waits for a later run
    }
    start_maximized_ = settings.maximized;
  } catch (const std::exception& e) {
    ShowErrorBox(main_frm_.get(), QString::fromUtf8(e.what()));
    return;
  }
  DispatchCommandLine();
}

void Application::DispatchCommandLine() {
  switch (start_kind_) {
    case StartKind::kOrdinary:
    case StartKind::kConversion:  // converted before any window exists
      break;
    case StartKind::kFromAutorun:
      start_minimized_ = true;
      break;
    case StartKind::kOpenFile:
      // File names are used as the system gives them.
      main_frm_->FileBox->setEditText(QFile::decodeName(QByteArray::fromStdString(args_[0])));
      main_frm_->LoadFileFromBox();
      break;
  }
}

void Application::ShowMainWindow() {
  shown_ = true;
  if (quit_requested_) {
    main_frm_->FormClose();
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    return;
  }
  if (start_minimized_)
    main_frm_->showMinimized();
  else if (start_maximized_)
    main_frm_->showMaximized();
  else
    main_frm_->show();
}

void Application::Quit() {
  quit_requested_ = true;
  // Boxes waiting for an answer now, and any that the steps still to run
  // bring up, go unanswered.
  if (!box_dismisser_) {
    box_dismisser_ = std::make_unique<BoxDismisser>();
    qApp->installEventFilter(box_dismisser_.get());
  }
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->isModal()) BoxDismisser::Dismiss(window);
  if (!shown_) return;  // start-up is still under way: ShowMainWindow ends the run
  // Once the unanswered boxes' own loops have returned.
  QTimer::singleShot(0, main_frm_.get(), [this] {
    main_frm_->close();
    QCoreApplication::exit(0);
  });
}

void Application::MainFrmFormClose() {
  if (!store_unreadable_) SaveSettings(*main_frm_, *custom_frm_, *store_);
  DialogsMessageSink sink(main_frm_.get());
  SaveSchemes(custom_frm_->Schemes(), schemes_, sink);
}

}  // namespace lirvane
