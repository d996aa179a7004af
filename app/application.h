// The order in which the program comes up and goes down: the windows'
// creation handlers, the command-line dispatch, and the main window's
// show and close handlers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace lirvane {

class TCustomFrm;
class TMainFrm;
class TNameFrm;

class Application {
 public:
  // `args` are the program's arguments, without the program's name.
  explicit Application(std::vector<std::string> args);
  ~Application();

  // Creates the windows in their order and dispatches the command line;
  // the caller then shows the main window with ShowMainWindow().
  void Start();
  void ShowMainWindow();

  TMainFrm& MainFrm() { return *main_frm_; }
  TCustomFrm& CustomFrm() { return *custom_frm_; }
  TNameFrm& NameFrm() { return *name_frm_; }

 private:
  void MainFrmFormCreate();
  void CustomFrmFormCreate();
  void DispatchCommandLine();
  void MainFrmFormClose();

  std::vector<std::string> args_;
  StartKind start_kind_;
  bool start_minimized_ = false;
  std::unique_ptr<TMainFrm> main_frm_;
  std::unique_ptr<TCustomFrm> custom_frm_;
  std::unique_ptr<TNameFrm> name_frm_;
};

}  // namespace lirvane
