// Finding and loading the window part (see window_entry.h). One
// realization per platform: dlopen on Linux, LoadLibrary on Windows.
#pragma once

#include <string>

#include "cli/window_entry.h"

namespace lirvane {

struct WindowModule {
  LirvaneWindowMainFn main = nullptr;
  LirvaneWindowMessageFn message = nullptr;
};

// Loads the module from beside the executable, else from the folder it is
// installed in; stays loaded for the rest of the process. Returns false
// with the reason in `error` when neither place has a usable module.
bool LoadWindowModule(WindowModule& module, std::string& error);

}  // namespace lirvane
