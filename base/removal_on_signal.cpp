#include "base/removal_on_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace lirvane {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Read by the handler: only plain data written while the signals are held.
int armed_folder = -1;
char armed_name[256];
struct sigaction former[3];
bool installed[3];
bool left_to_caller = false;

sigset_t CleanupSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : kSignals) sigaddset(&set, s);
  return set;
}

// Only async-signal-safe calls: unlinkat and raise. The handler was
// installed with SA_RESETHAND, so the raised signal meets the default
// action once the handler returns and the signal is no longer blocked.
void RemoveAndEnd(int signal) {
  if (armed_folder >= 0) ::unlinkat(armed_folder, armed_name, 0);
  armed_folder = -1;
  ::raise(signal);
}

}  // namespace

SignalsHeldBack::SignalsHeldBack() {
  const sigset_t set = CleanupSignals();
  ::sigprocmask(SIG_BLOCK, &set, &saved_);
}

SignalsHeldBack::~SignalsHeldBack() { ::sigprocmask(SIG_SETMASK, &saved_, nullptr); }

void ArmRemovalOnSignal(int folder_fd, const char* name) {
  if (left_to_caller) return;
  const size_t length = std::strlen(name);
  if (length >= sizeof armed_name) return;  // no such name is ever made
  std::memcpy(armed_name, name, length + 1);
  armed_folder = folder_fd;
  for (int i = 0; i < 3; ++i) {
    struct sigaction current;
    installed[i] = false;
    if (::sigaction(kSignals[i], nullptr, &current) != 0) continue;
    if (current.sa_handler == SIG_IGN) continue;  // e.g. SIGHUP under nohup
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    installed[i] = ::sigaction(kSignals[i], &action, &former[i]) == 0;
  }
}

void DisarmRemovalOnSignal() {
  if (left_to_caller) return;
  armed_folder = -1;
  for (int i = 0; i < 3; ++i)
    if (installed[i]) ::sigaction(kSignals[i], &former[i], nullptr);
  for (bool& i : installed) i = false;
}

void LeaveRemovalOnSignalToCaller() { left_to_caller = true; }

}  // namespace lirvane
