// Whether the process has a display to show windows and message boxes on.
// Asked before anything of Qt is loaded: without a display Qt would abort
// the process instead of saying so.
#pragma once

namespace lirvane {

// On Linux: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set, and where
// the X display named by DISPLAY is the one to use and is local, it accepts
// a connection.
bool HaveDisplay();

}  // namespace lirvane
