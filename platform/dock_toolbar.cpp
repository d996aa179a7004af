#include "platform/dock_toolbar.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QLabel>
#include <QToolButton>
#include <QWidgetAction>
#include <algorithm>

namespace lirvane {

namespace {

Qt::ToolBarArea AreaOfDock(int dock) {
  switch (dock) {
    case DockToolBar::kUpDock:
      return Qt::TopToolBarArea;
    case DockToolBar::kLDock:
      return Qt::LeftToolBarArea;
    case DockToolBar::kRDock:
      return Qt::RightToolBarArea;
    case DockToolBar::kLoDock:
      return Qt::BottomToolBarArea;
    default:
      return Qt::NoToolBarArea;
  }
}

// Where a docked toolbar stands within its line: x in the top and bottom
// areas, which span the window; y below the top of the side areas, which
// start where the central widget does.
int OffsetInLine(const QMainWindow* window, const QToolBar* bar) {
  if (bar->orientation() == Qt::Horizontal) return bar->x();
  const QWidget* central = window->centralWidget();
  return bar->y() - (central ? central->y() : 0);
}

}  // namespace

DockToolBar::DockToolBar(const QString& title, QMainWindow* window)
    : QToolBar(title, window), window_(window) {
  setMovable(true);
  setFloatable(true);
  setAllowedAreas(Qt::AllToolBarAreas);

  // Qt's floating toolbar is a frameless tool window with no close box of
  // its own, so the toolbar carries one, shown only while it floats.
  caption_ = new QLabel(title, this);
  caption_->setObjectName("Caption");
  caption_->setContentsMargins(6, 0, 2, 0);
  caption_action_ = new QWidgetAction(this);
  caption_action_->setDefaultWidget(caption_);
  addAction(caption_action_);
  caption_action_->setVisible(false);
  close_button_ = new QToolButton(this);
  close_button_->setObjectName("CloseButton");
  close_button_->setText(QString(QChar(0x00D7)));
  close_button_->setAutoRaise(true);
  close_button_->setFocusPolicy(Qt::NoFocus);
  close_action_ = new QWidgetAction(this);
  close_action_->setDefaultWidget(close_button_);
  addAction(close_action_);
  close_action_->setVisible(false);
  connect(close_button_, &QToolButton::clicked, this, [this] {
    hide();
    emit Closed();
  });

  connect(this, &QToolBar::topLevelChanged, this, [this](bool floating) {
    // Floated or docked by the user: its own position no longer holds.
    position_.reset();
    if (!floating) floating_row_.reset();
    QueueCloseButtonUpdate();
  });
}

int DockToolBar::CurrentDock() const {
  if (isFloating()) return kFloating;
  switch (Area()) {
    case Qt::TopToolBarArea:
      return kUpDock;
    case Qt::LeftToolBarArea:
      return kLDock;
    case Qt::RightToolBarArea:
      return kRDock;
    case Qt::BottomToolBarArea:
      return kLoDock;
    default:
      return kFloating;
  }
}

Qt::ToolBarArea DockToolBar::Area() const {
  return window_->toolBarArea(const_cast<DockToolBar*>(this));
}

DockToolBar::Lines DockToolBar::LinesOf(Qt::ToolBarArea area, int* own_line) const {
  // The window's layout lists its toolbars area by area, line by line, in
  // order; a toolbar with a break before it begins a new line. A floating
  // toolbar keeps its place in the list but takes no room in the line.
  Lines raw;
  int own = -1;
  for (int i = 0; QLayoutItem* item = window_->layout()->itemAt(i); ++i) {
    auto* bar = qobject_cast<QToolBar*>(item->widget());
    if (!bar || window_->toolBarArea(bar) != area) continue;
    if (raw.empty() || window_->toolBarBreak(bar)) raw.emplace_back();
    if (bar == this) {
      own = static_cast<int>(raw.size()) - 1;
    } else if (!bar->isFloating()) {
      raw.back().push_back(bar);
    }
  }
  Lines lines;
  int own_line_index = -1;
  for (int i = 0; i < static_cast<int>(raw.size()); ++i) {
    if (raw[i].empty() && i != own) continue;
    if (i == own) own_line_index = static_cast<int>(lines.size());
    lines.push_back(std::move(raw[i]));
  }
  if (own_line) *own_line = own_line_index;
  return lines;
}

int DockToolBar::Row() const {
  if (isFloating() && floating_row_) return *floating_row_;
  int own = -1;
  LinesOf(Area(), &own);
  return std::max(own, 0);
}

void DockToolBar::SetRow(int row) {
  row = std::max(row, 0);
  if (isFloating()) {
    floating_row_ = row;
    return;
  }
  Place(Area(), row);
}

void DockToolBar::SetDock(int dock) {
  const Qt::ToolBarArea area = AreaOfDock(dock);
  if (area == Qt::NoToolBarArea) return;
  if (!isFloating() && Area() == area) return;
  const int row = Row();
  floating_row_.reset();
  Place(area, row);
}

int DockToolBar::OrderKey(const QToolBar* bar) const {
  if (auto* dock_bar = qobject_cast<const DockToolBar*>(bar)) return dock_bar->Position();
  return OffsetInLine(window_, bar);
}

void DockToolBar::Place(Qt::ToolBarArea area, int row) {
  int own = -1;
  Lines lines = LinesOf(area, &own);
  // Leaving a line of its own for a later one closes that line up; the
  // rows are then counted without it, so that the toolbar lands on `row`.
  if (own >= 0 && own < row && lines[own].empty()) lines.erase(lines.begin() + own);
  if (static_cast<int>(lines.size()) <= row) lines.resize(row + 1);
  std::vector<QToolBar*>& line = lines[row];
  const int key = Position();
  auto at = std::find_if(line.begin(), line.end(),
                         [&](const QToolBar* bar) { return OrderKey(bar) > key; });
  line.insert(at, this);
  std::erase_if(lines, [](const std::vector<QToolBar*>& l) { return l.empty(); });
  Rebuild(area, lines);
}

void DockToolBar::Rebuild(Qt::ToolBarArea area, const Lines& lines) {
  // QMainWindow::addToolBar takes a toolbar out of its line and appends it
  // to the area's last line; re-adding every docked toolbar of the area in
  // order leaves the old lines empty (so Qt drops them) and builds the new
  // ones behind them. Hidden toolbars stay hidden; a floating one is docked.
  for (size_t i = 0; i < lines.size(); ++i) {
    for (size_t j = 0; j < lines[i].size(); ++j) {
      if (i > 0 && j == 0) window_->addToolBarBreak(area);
      window_->addToolBar(area, lines[i][j]);
    }
  }
}

int DockToolBar::Position() const {
  if (position_) return *position_;
  if (isFloating()) return docked_offset_;
  return OffsetInLine(window_, this);
}

void DockToolBar::SetPosition(int position) {
  position_ = position;
  if (!isFloating()) Place(Area(), Row());
}

void DockToolBar::QueueCloseButtonUpdate() {
  if (close_update_queued_) return;
  close_update_queued_ = true;
  QMetaObject::invokeMethod(
      this, [this] { UpdateCloseButton(); }, Qt::QueuedConnection);
}

void DockToolBar::UpdateCloseButton() {
  close_update_queued_ = false;
  const bool floating = isFloating();
  // Last on the toolbar, where a close box is looked for, with the title
  // just before it.
  if (floating && actions().last() != close_action_) {
    removeAction(caption_action_);
    removeAction(close_action_);
    addAction(caption_action_);
    addAction(close_action_);
  }
  caption_->setText(windowTitle());
  caption_action_->setVisible(floating);
  close_action_->setVisible(floating);
  // Its whole width (adjustSize() would stop at two thirds of the screen and
  // push the last buttons, the close box among them, into the overflow).
  if (floating) {
    QSize size = sizeHint();
    if (const QScreen* screen = this->screen())
      size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
  }
}

bool DockToolBar::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        pressed_ = true;
        dragged_ = false;
        if (!isFloating()) docked_offset_ = Position();
      }
      break;
    case QEvent::MouseMove:
      if (pressed_) dragged_ = true;
      break;
    case QEvent::MouseButtonRelease:
      // A drag by the handle may have moved it; its actual offset counts now.
      if (pressed_ && dragged_) position_.reset();
      pressed_ = dragged_ = false;
      break;
    case QEvent::WindowTitleChange:
      if (caption_) caption_->setText(windowTitle());
      break;
    case QEvent::Show:
      // Floating and docking change the window flags, which hides the
      // toolbar until it is shown again; the close button follows once Qt
      // has finished with it.
      QueueCloseButtonUpdate();
      break;
    default:
      break;
  }
  return QToolBar::event(event);
}

}  // namespace lirvane
