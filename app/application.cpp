#include "app/application.h"

#include <QComboBox>
#include <QFile>

#include "app/settings.h"
#include "app/shell_integration.h"
#include "app/store_accessor.h"
#include "platform/dialogs.h"
#include "platform/dialogs_message_sink.h"
#include "platform/shell/shell_integration.h"
#include "platform/store/store_backend.h"
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

void Application::Start() {
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
  shell_ = MakeShellIntegration(*store_);
  main_frm_->SetShellIntegration(shell_.get());
  // A failed verb ends this step: the keys below are not made then.
  try {
    WriteShellVerbsAtStart(*shell_);
    store_->SetRoot(StoreRoot::LocalMachine);
    for (std::string_view key : {"\\SOFTWARE\\Velkor", "\\SOFTWARE\\Velkor\\Lirvane",
                                 "\\SOFTWARE\\Velkor\\Lirvane\\Version"})
      store_->OpenKey(key, true);
  } catch (const std::exception& e) {
    ShowErrorBox(main_frm_.get(), QString::fromUtf8(e.what()));
  }
}

void Application::CustomFrmFormCreate() {
  // A scheme file that stops at a bad scheme shows its error and the start
  // goes on: the settings and the command line do not depend on it.
  custom_frm_->FormCreate(schemes_.FileToRead());
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
  if (start_minimized_)
    main_frm_->showMinimized();
  else if (start_maximized_)
    main_frm_->showMaximized();
  else
    main_frm_->show();
}

void Application::MainFrmFormClose() {
  SaveSettings(*main_frm_, *custom_frm_, *store_);
  DialogsMessageSink sink(main_frm_.get());
  SaveSchemes(custom_frm_->Schemes(), schemes_, sink);
}

}  // namespace lirvane
