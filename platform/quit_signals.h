// The signals with which a session, `kill` or Ctrl+C in a terminal ask a
// program to end (SIGTERM, SIGHUP, SIGINT), turned into an ordinary event
// of the event loop, so that the program can close as its own Exit command
// does: settings and schemes written, status 0.
//
// A handler may do next to nothing (it interrupts whatever code was
// running), so it only writes a byte into a pipe that the event loop
// watches. A second signal before the program has ended is taken as "now":
// the default action runs and ends the program at once.
//
// Windows has none of these signals; there the object does nothing (the
// system closes the windows of a session that ends by their close event).
#pragma once

#include <QObject>

class QSocketNotifier;

namespace lirvane {

class QuitSignals : public QObject {
  Q_OBJECT

 public:
  // Takes over SIGTERM, SIGHUP and SIGINT for the rest of the run. Only one
  // may exist at a time.
  explicit QuitSignals(QObject* parent = nullptr);
  ~QuitSignals() override;

 signals:
  // The first of the signals arrived; emitted from the event loop.
  void QuitRequested(int signal_number);

 private:
  void ReadPipe();

  int read_fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace lirvane
