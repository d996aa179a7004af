// The hourglass for a command that may take a moment; set back when the
// command ends, also when it ends by an exception.
#pragma once

#include <QApplication>
#include <QCursor>

namespace lirvane {

class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { Restore(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  // Sets the normal cursor back early (before a message box, say).
  void Restore() {
    if (active_) QApplication::restoreOverrideCursor();
    active_ = false;
  }

 private:
  bool active_ = true;
};

}  // namespace lirvane
