#include "platform/dock_toolbar.h"

#include <QMainWindow>

namespace lirvane {

DockToolBar::DockToolBar(const QString& title, QMainWindow* window)
    : QToolBar(title, window), window_(window) {}

int DockToolBar::CurrentDock() const {
  if (isFloating()) return kFloating;
  switch (window_->toolBarArea(const_cast<DockToolBar*>(this))) {
    case Qt::TopToolBarArea: return kUpDock;
    case Qt::LeftToolBarArea: return kLDock;
    case Qt::RightToolBarArea: return kRDock;
    case Qt::BottomToolBarArea: return kLoDock;
    default: return kFloating;
  }
}

void DockToolBar::SetDock(int) {}
int DockToolBar::Row() const { return 0; }
void DockToolBar::SetRow(int) {}
int DockToolBar::Position() const { return 0; }
void DockToolBar::SetPosition(int) {}

}  // namespace lirvane
