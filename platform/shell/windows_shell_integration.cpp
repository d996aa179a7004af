#include "platform/shell/windows_shell_integration.h"

#include "platform/store/store_accessor.h"

namespace lirvane {

namespace {

std::string SetDataError(std::string_view name) {
  return "Failed to set data for '" + std::string(name) + "'";
}

// Puts the accessor back on the machine root, its resting place, however
// the writes under the class root end: a caller that forgets to set the
// root then cannot write settings among the file classes.
class ClassesRootScope {
 public:
  explicit ClassesRootScope(StoreAccessor& store) : store_(store) {
    store_.SetRoot(StoreRoot::kClassesRoot);
  }
  ~ClassesRootScope() { store_.SetRoot(StoreRoot::kLocalMachine); }
  ClassesRootScope(const ClassesRootScope&) = delete;
  ClassesRootScope& operator=(const ClassesRootScope&) = delete;

 private:
  StoreAccessor& store_;
};

}  // namespace

std::string WindowsCommandPath(std::string_view executable) {
  if (executable.find_first_of(" \t") == std::string_view::npos) return std::string(executable);
  return "\"" + std::string(executable) + "\"";
}

WindowsShellIntegration::WindowsShellIntegration(StoreAccessor& store, std::string executable)
    : store_(store), executable_(std::move(executable)) {}

std::string WindowsShellIntegration::OpenCommand() const {
  return WindowsCommandPath(executable_) + " \"%1\"";
}

std::string WindowsShellIntegration::AutorunCommand() const {
  return WindowsCommandPath(executable_) + " -fromautorun";
}

void WindowsShellIntegration::WriteUnnamed(std::string_view key, std::string_view value) {
  // A refused create leaves the previous key current; writing then would
  // land in that key, so it counts as a failed write.
  if (!store_.OpenKey(key, true)) throw StoreError(SetDataError(""));
  store_.WriteString("", value);
}

void WindowsShellIntegration::WriteShellVerbs() {
  // Without our own path there is nothing sensible to point the verbs at.
  if (executable_.empty()) return;
  ClassesRootScope scope(store_);
  const std::string command = OpenCommand();
  WriteUnnamed(kTxtVerbKey, command);
  WriteUnnamed(kHtmlVerbKey, command);
}

void WindowsShellIntegration::WriteAttAssociation() {
  if (executable_.empty()) return;
  ClassesRootScope scope(store_);
  WriteUnnamed(kAttExtensionKey, kAttClass);
  WriteUnnamed(kAttOpenKey, OpenCommand());
}

bool WindowsShellIntegration::AutorunEnabled() {
  // A look at the Run key in the middle of the settings load must leave
  // the load's own key current.
  struct KeyRestore {
    StoreAccessor& store;
    StoreRoot root = store.Root();
    std::string key = store.CurrentKey();
    ~KeyRestore() {
      try {
        store.SetRoot(root);
        if (!key.empty()) store.OpenKey(key, false);
      } catch (const std::exception&) {
      }
    }
  } restore{store_};
  try {
    store_.SetRoot(StoreRoot::kLocalMachine);
    if (!store_.OpenKey(kRunKey, false)) return false;
    return !store_.ReadString(kAutorunValue).empty();
  } catch (const std::exception&) {
    return false;
  }
}

AutorunSwitch WindowsShellIntegration::SwitchAutorun(bool on) {
  store_.SetRoot(StoreRoot::kLocalMachine);
  // The Run key belongs to the system: it is opened, never created.
  if (!store_.OpenKey(kRunKey, false)) return AutorunSwitch::kRunKeyUnavailable;
  if (on) {
    if (executable_.empty()) throw StoreError(SetDataError(kAutorunValue));
    store_.WriteString(kAutorunValue, AutorunCommand());
  } else {
    store_.DeleteValue(kAutorunValue);
    // A removal the store refused would leave the program starting at
    // log-on behind an unticked check mark; say so instead.
    bool still_there = false;
    try {
      still_there = !store_.ReadString(kAutorunValue).empty();
    } catch (const std::exception&) {
      still_there = true;  // a value of another kind is still in the way
    }
    if (still_there) throw StoreError(SetDataError(kAutorunValue));
  }
  return AutorunSwitch::kSwitched;
}

}  // namespace lirvane
