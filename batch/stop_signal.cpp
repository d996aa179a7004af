#include "batch/stop_signal.h"

#include <csignal>

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
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
#ifndef _WIN32
  std::signal(SIGHUP, OnStopSignal);
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace lirvane
