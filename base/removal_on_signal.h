// A temporary file that must not outlive the process when a signal ends it
// (Ctrl+C, `kill`, a closed terminal). While a name is armed, SIGINT,
// SIGTERM and SIGHUP remove that one file and then end the process as the
// signal would have; a signal the process ignores stays ignored. POSIX
// only: a console program on Windows is ended without running any handler
// of ours.
#pragma once

#include <signal.h>

namespace lirvane {

// Holds SIGINT, SIGTERM and SIGHUP back for its lifetime, so that creating
// (or renaming) a file and arming (or disarming) its removal happen as one
// step for a signal. A signal that comes meanwhile is delivered at the end.
class SignalsHeldBack {
 public:
  SignalsHeldBack();
  SignalsHeldBack(const SignalsHeldBack&) = delete;
  SignalsHeldBack& operator=(const SignalsHeldBack&) = delete;
  ~SignalsHeldBack();

 private:
  sigset_t saved_;  // the mask to restore
};

// Arms the removal of `name` in the folder open as `folder_fd` (the
// descriptor must stay open while armed). Call with the signals held back;
// one name at a time.
void ArmRemovalOnSignal(int folder_fd, const char* name);
// Disarms it and gives the signals their former handlers; call with the
// signals held back.
void DisarmRemovalOnSignal();

// For a program that handles those signals itself and removes its own
// temporary files before it ends (the folder commands, whose workers each
// write a file at the same time): arming and disarming do nothing from
// here on.
void LeaveRemovalOnSignalToCaller();

}  // namespace lirvane
