// The program's one name on freedesktop.org desktops. The installed
// desktop entry, the entries the program writes for itself, its icon and
// its AppStream metadata all carry it, so that a desktop lists the program
// once: an entry of the same name in $XDG_DATA_HOME hides the installed one.
// resources/CMakeLists.txt installs the files under the same name.
#pragma once

namespace lirvane {

inline constexpr char kApplicationId[] = "net.velkor.Lirvane";
inline constexpr char kDesktopFileName[] = "net.velkor.Lirvane.desktop";
// What the menu shows.
inline constexpr char kDesktopName[] = "Velkor Lirvane!";
// The window class Qt gives the program's windows (the executable's name),
// which lets a desktop match them to the entry.
inline constexpr char kWindowClass[] = "lirvane";

}  // namespace lirvane
