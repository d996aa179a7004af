#include <dlfcn.h>

#include <filesystem>

#include "cli/window_module.h"
#include "base/executable_path.h"

namespace lirvane {

bool LoadWindowModule(WindowModule& module, std::string& error) {
  const std::filesystem::path folder = ExecutableFolder();
  // Beside the executable in the build tree; below lib/ once installed.
  const std::filesystem::path candidates[] = {
      folder / LIRVANE_WINDOW_MODULE_FILE,
      folder / LIRVANE_WINDOW_MODULE_DIR / LIRVANE_WINDOW_MODULE_FILE,
  };
  error.clear();
  for (const std::filesystem::path& path : candidates) {
    std::error_code missing;
    if (!std::filesystem::exists(path, missing)) continue;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* why = dlerror();
      error = why ? why : path.string();
      continue;
    }
    module.main = reinterpret_cast<LirvaneWindowMainFn>(dlsym(handle, LIRVANE_WINDOW_MAIN));
    module.message =
        reinterpret_cast<LirvaneWindowMessageFn>(dlsym(handle, LIRVANE_WINDOW_MESSAGE));
    if (module.main != nullptr && module.message != nullptr) return true;
    error = path.string() + ": not a Lirvane window module";
  }
  if (error.empty())
    error = std::string(LIRVANE_WINDOW_MODULE_FILE) + " not found beside " + folder.string() +
            " nor in " + (folder / LIRVANE_WINDOW_MODULE_DIR).string();
  return false;
}

}  // namespace lirvane
