#include "platform/quit_signals.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#endif

namespace lirvane {

#ifndef _WIN32
namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t g_write_fd = -1;
volatile sig_atomic_t g_received = 0;

// Only async-signal-safe calls here.
void OnQuitSignal(int number) {
  if (g_received) {
    // Asked twice: the default action, once this handler returns (the
    // signal is blocked until then).
    signal(number, SIG_DFL);
    raise(number);
    return;
  }
  g_received = 1;
  const int saved_errno = errno;
  const char byte = static_cast<char>(number);
  if (write(g_write_fd, &byte, 1) < 0) {
    // A full pipe already holds a request; nothing more to do.
  }
  errno = saved_errno;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;  // signals then keep their default
  read_fd_ = fds[0];
  g_write_fd = fds[1];
  g_received = 0;
  notifier_ = new QSocketNotifier(read_fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::ReadPipe);

  struct sigaction action = {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  for (int number : kQuitSignals) sigaddset(&action.sa_mask, number);
  action.sa_flags = SA_RESTART;
  for (int number : kQuitSignals) sigaction(number, &action, nullptr);
}

QuitSignals::~QuitSignals() {
  if (read_fd_ < 0) return;
  for (int number : kQuitSignals) signal(number, SIG_DFL);
  close(g_write_fd);
  g_write_fd = -1;
  close(read_fd_);
}

void QuitSignals::ReadPipe() {
  char byte = 0;
  if (read(read_fd_, &byte, 1) == 1) emit QuitRequested(static_cast<unsigned char>(byte));
}

#else

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {}
QuitSignals::~QuitSignals() = default;
void QuitSignals::ReadPipe() {}

#endif

}  // namespace lirvane
