#include <windows.h>

#include <filesystem>

#include "cli/window_module.h"
#include "base/executable_path.h"
#include "base/file_io.h"

namespace lirvane {

bool LoadWindowModule(WindowModule& module, std::string& error) {
  // On Windows the module always sits beside the executable.
  const std::filesystem::path path = ExecutableFolder() / LIRVANE_WINDOW_MODULE_FILE;
  // Qt's own DLLs sit beside the module; search its folder for them.
  HMODULE handle = LoadLibraryExW(
      path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (handle == nullptr) {
    error = "cannot load " + PathToText(path) + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  // Through a function type without parameters, the one every function
  // pointer may be cast to and back.
  using AnyFunction = void (*)();
  module.main = reinterpret_cast<LirvaneWindowMainFn>(
      reinterpret_cast<AnyFunction>(GetProcAddress(handle, LIRVANE_WINDOW_MAIN)));
  module.message = reinterpret_cast<LirvaneWindowMessageFn>(
      reinterpret_cast<AnyFunction>(GetProcAddress(handle, LIRVANE_WINDOW_MESSAGE)));
  if (module.main != nullptr && module.message != nullptr) return true;
  error = PathToText(path) + ": not a Lirvane window module";
  return false;
}

}  // namespace lirvane
