// The entry points of the window part, a module of its own
// (liblirvane-window.so, lirvane-window.dll) that holds Qt and everything
// built on it. The executable loads it only when a window or a message box
// is wanted, so a conversion run maps no Qt library at all.
#pragma once

#include <cstddef>

#if defined(_WIN32)
#define LIRVANE_WINDOW_EXPORT __declspec(dllexport)
#else
#define LIRVANE_WINDOW_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// An ordinary start (no argument, "-fromautorun" or a file to open): runs
// the main window until it closes; returns the exit status.
typedef int (*LirvaneWindowMainFn)(int argc, char** argv);
#define LIRVANE_WINDOW_MAIN "lirvane_window_main"

// One message box of a conversion run: `kind` is a MessageKind, `text`
// UTF-8. The first call sets up the application object, which stays for
// the rest of the run.
typedef void (*LirvaneWindowMessageFn)(int argc, char** argv, int kind, const char* text,
                                       size_t size);
#define LIRVANE_WINDOW_MESSAGE "lirvane_window_message"
}
