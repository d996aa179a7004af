// The order in which the program comes up and goes down: the windows'
// creation handlers, the settings, the command-line dispatch, and the main
// window's close handler.
#pragma once

#include <QObject>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "schemes/scheme_file_location.h"

class QWidget;

namespace lirvane {

class ShellIntegration;
class TAboutBox;
class StoreAccessor;
class TCustomFrm;
class TMainFrm;
class TNameFrm;

// After a request to end the run, answers every box as Esc would, those
// already waiting and those still to come.
class BoxDismisser : public QObject {
 public:
  static void Dismiss(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

class Application {
 public:
  // `args` are the program's arguments, without the program's name.
  explicit Application(std::vector<std::string> args);
  // For tests: the scheme file somewhere else than beside the executable.
  Application(std::vector<std::string> args, std::filesystem::path scheme_file);
  // The schemes read and written where `schemes` says.
  Application(std::vector<std::string> args, SchemeFileLocation schemes);
  ~Application();

  // Creates the windows in their order, loads the settings and dispatches
  // the command line; then ShowMainWindow() brings the main window up.
  void Start();
  void ShowMainWindow();
  // Ends the run as Файл → Выход does (settings and schemes written): a
  // box still waiting for an answer goes unanswered, then the main window
  // closes and the event loop ends with status 0. Asked during start-up,
  // the main window is never shown.
  void Quit();

  TMainFrm& MainFrm() { return *main_frm_; }
  TCustomFrm& CustomFrm() { return *custom_frm_; }
  TNameFrm& NameFrm() { return *name_frm_; }
  StoreAccessor* Store() { return store_.get(); }

 private:
  void MainFrmFormCreate();
  // A store that is there but cannot be used: a damaged one is set aside
  // for a fresh one, an unreadable one is left alone for this run.
  void CheckStore();
  void CustomFrmFormCreate();
  void DispatchCommandLine();
  void MainFrmFormClose();

  std::vector<std::string> args_;
  SchemeFileLocation schemes_;
  StartKind start_kind_;
  bool start_minimized_ = false;
  bool start_maximized_ = false;
  bool shown_ = false;
  bool quit_requested_ = false;
  std::unique_ptr<BoxDismisser> box_dismisser_;
  // The stored settings could not be read: this run neither asks the
  // first-run question nor writes its design values over them.
  bool store_unreadable_ = false;
  std::unique_ptr<StoreAccessor> store_;
  std::unique_ptr<ShellIntegration> shell_;
  std::unique_ptr<TMainFrm> main_frm_;
  std::unique_ptr<TCustomFrm> custom_frm_;
  std::unique_ptr<TNameFrm> name_frm_;
  std::unique_ptr<TAboutBox> about_box_;
};

}  // namespace lirvane
