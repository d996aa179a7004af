// A toolbar that sits in one of the main window's four docks, at a row and
// a position within that row, or floats with a close button of its own.
//
// The docks are QMainWindow's toolbar areas: UpDock = top, LDock = left,
// RDock = right, LoDock = bottom, numbered 1-4 as the settings store them;
// a floating toolbar is in dock 0. The user may drag the toolbars between
// the areas and float them.
//
// Rows are the lines of an area that Qt separates with toolbar breaks,
// counted from 0 (the line nearest the window's edge comes first for the
// top and left areas, as Qt orders them). Only lines that hold a docked
// toolbar count, hidden ones included, so a line emptied by dragging or
// floating its last toolbar away is no row at all and the rows after it
// move up one.
//
// Positions are offsets in pixels within the row: x for the top and bottom
// areas, y (from the top of the side area) for the left and right ones. Qt
// cannot put a toolbar at an exact pixel, so a position set by SetPosition
// is kept as the toolbar's own value: it orders the toolbars within a row,
// and Position() returns it until the user drags or floats this toolbar;
// after that, and for a toolbar that never had one set, Position() is its
// actual offset (for a floating toolbar, the one it had when the drag that
// floated it began).
#pragma once

#include <QToolBar>
#include <optional>
#include <vector>

class QLabel;
class QMainWindow;
class QToolButton;
class QWidgetAction;

namespace lirvane {

class DockToolBar : public QToolBar {
  Q_OBJECT

 public:
  // Docks as the settings number them; kFloating for none.
  enum Dock { kFloating = 0, kUpDock = 1, kLDock = 2, kRDock = 3, kLoDock = 4 };

  DockToolBar(const QString& title, QMainWindow* window);

  int CurrentDock() const;
  // Docks the toolbar in dock 1-4 on the row it had (a floating toolbar
  // is docked too); other numbers leave it where it is.
  void SetDock(int dock);
  int Row() const;
  // Moves the toolbar to row `row` of its dock, among the toolbars there
  // by position; a row past the last becomes a new last row. A floating
  // toolbar only keeps the number, which Row() reports while it floats.
  void SetRow(int row);
  int Position() const;
  void SetPosition(int position);

  // The close button shown while the toolbar floats.
  QToolButton* CloseButton() const { return close_button_; }
  // The toolbar's title, shown beside the close button while it floats
  // (a floating toolbar has no title bar to carry it).
  QLabel* Caption() const { return caption_; }

 signals:
  // The user closed the floating toolbar with its close button; it is
  // hidden by then.
  void Closed();

 protected:
  bool event(QEvent* event) override;

 private:
  using Lines = std::vector<std::vector<QToolBar*>>;

  Qt::ToolBarArea Area() const;
  // The docked toolbars of `area` line by line, this one left out; the
  // line this one stood on stays, possibly empty, so that the other
  // toolbars keep their rows.
  Lines LinesOf(Qt::ToolBarArea area, int* own_line) const;
  // Puts this toolbar on line `row` of `area`, ordered by position.
  void Place(Qt::ToolBarArea area, int row);
  void Rebuild(Qt::ToolBarArea area, const Lines& lines);
  int OrderKey(const QToolBar* bar) const;
  void QueueCloseButtonUpdate();
  void UpdateCloseButton();

  QMainWindow* window_;
  QToolButton* close_button_ = nullptr;
  QWidgetAction* close_action_ = nullptr;
  QLabel* caption_ = nullptr;
  QWidgetAction* caption_action_ = nullptr;
  std::optional<int> position_;      // set by SetPosition, until the user moves it
  std::optional<int> floating_row_;  // set by SetRow while floating
  int docked_offset_ = 0;            // Position() when a drag began
  bool pressed_ = false;
  bool dragged_ = false;
  bool close_update_queued_ = false;
};

}  // namespace lirvane
