// Keeping a shown window off the taskbar.
//
// On X11 the window carries _NET_WM_STATE_SKIP_TASKBAR, which taskbars and
// pagers honour while the window stays shown. Elsewhere this does nothing
// and the caller keeps the window off the taskbar by hiding it when it is
// minimized.
#pragma once

class QWidget;

namespace lirvane {

// True when the platform has the skip-taskbar state (X11).
bool CanSkipTaskbar();

// Sets or clears the state on `window`'s native window. A window manager
// drops the state when a window is hidden, so call it again on every show.
void SetSkipTaskbar(QWidget& window, bool skip);

}  // namespace lirvane
