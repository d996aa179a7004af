// Exit statuses of a start that wants the window but cannot open it. They
// follow the conversion's statuses (conversion_status.h) so that one table
// in the README lists every status the program ends with.
#pragma once

namespace lirvane {

inline constexpr int kExitNoDisplay = 6;     // no display to show the window on
inline constexpr int kExitNoWindowPart = 7;  // the window part cannot be loaded

}  // namespace lirvane
