#include "app/application.h"

#include <QComboBox>
#include <QFile>

#include "platform/dialogs_message_sink.h"
#include "schemes/scheme_file.h"
#include "ui/custom_frm.h"
#include "ui/main_frm.h"
#include "ui/name_frm.h"

namespace lirvane {

Application::Application(std::vector<std::string> args)
    : args_(std::move(args)), start_kind_(ClassifyFirstArgument(args_)) {}

Application::~Application() = default;

void Application::Start() {
  main_frm_ = std::make_unique<TMainFrm>();
  MainFrmFormCreate();
  custom_frm_ = std::make_unique<TCustomFrm>(main_frm_.get(), main_frm_.get());
  main_frm_->SetSchemeEditorOpener([this] { custom_frm_->ShowEditor(); });
  CustomFrmFormCreate();
  name_frm_ = std::make_unique<TNameFrm>(main_frm_.get());
  custom_frm_->SetNameFrm(name_frm_.get());
  main_frm_->SetFormClose([this] { MainFrmFormClose(); });
}

void Application::MainFrmFormCreate() {}

void Application::CustomFrmFormCreate() {
  custom_frm_->FormCreate(SchemeFilePath());
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
  else
    main_frm_->show();
}

void Application::MainFrmFormClose() {
  DialogsMessageSink sink(main_frm_.get());
  SaveSchemes(custom_frm_->Schemes(), SchemeFilePath(), sink);
}

}  // namespace lirvane
