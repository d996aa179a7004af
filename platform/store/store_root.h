// The two roots of the settings store in use: the machine's settings and the
// file classes with their shell verbs.
#pragma once

namespace lirvane {

enum class StoreRoot { kLocalMachine, kClassesRoot };

}  // namespace lirvane
