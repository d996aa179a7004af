// A progress bar on standard error while a folder command runs: only when
// standard error is a terminal, and only once the run has taken a second,
// so that quick runs and scripts see nothing of it.
#pragma once

#include <chrono>
#include <cstddef>

namespace lirvane {

class ProgressBar {
 public:
  explicit ProgressBar(size_t total);
  // Redraws the bar for `done` files, at most ten times a second.
  void Show(size_t done);
  // Makes room for a line on standard output: the bar is removed when both
  // go to the same terminal, and drawn again at the next Show.
  void BeforeLine();
  // Removes the bar for good.
  void Hide();

 private:
  using Clock = std::chrono::steady_clock;
  size_t total_;
  bool terminal_;
  bool output_terminal_;
  bool shown_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point drawn_{};
};

}  // namespace lirvane
