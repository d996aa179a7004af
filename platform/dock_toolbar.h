// A toolbar that sits in one of the main window's four docks, at a row and
// a position within that row, or floats with a close button of its own.
#pragma once

#include <QToolBar>

class QMainWindow;

namespace lirvane {

class DockToolBar : public QToolBar {
  Q_OBJECT

 public:
  // Docks as the settings number them; kFloating for none.
  enum Dock { kFloating = 0, kUpDock = 1, kLDock = 2, kRDock = 3, kLoDock = 4 };

  DockToolBar(const QString& title, QMainWindow* window);

  int CurrentDock() const;
  void SetDock(int dock);  // 1-4; other numbers leave it where it is
  int Row() const;
  void SetRow(int row);
  int Position() const;
  void SetPosition(int position);

 signals:
  // The user closed the floating toolbar with its close button; it is
  // hidden by then.
  void Closed();

 private:
  QMainWindow* window_;
};

}  // namespace lirvane
