#include "batch/stop_signal.h"

#include <csignal>

#ifndef _WIN32
#include "base/removal_on_signal.h"
#endif

namespace lirvane {
namespace {

std::atomic<bool> stop_requested{false};
volatile std::sig_atomic_t stop_signal = 0;

extern "C" void OnStopSignal(int number) {
  stop_signal = number;
  stop_requested.store(true);
}

}  // namespace

const std::atomic<bool>& StopRequested() { return stop_requested; }

int StopSignal() { return stop_signal; }

void CatchStopSignals() {
#ifndef _WIN32
  // Several files are written at once here, and each worker removes its
  // own temporary file when the flag stops it.
  LeaveRemovalOnSignalToCaller();
#endif
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
#ifndef _WIN32
  std::signal(SIGHUP, OnStopSignal);
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace lirvane
