#include "batch/progress_bar.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace lirvane {

ProgressBar::ProgressBar(size_t total)
    : total_(total), terminal_(isatty(2) != 0), output_terminal_(isatty(1) != 0) {}

void ProgressBar::Show(size_t done) {
  if (!terminal_ || total_ == 0) return;
  const Clock::time_point now = Clock::now();
  if (now - start_ < std::chrono::seconds(1) || now - drawn_ < std::chrono::milliseconds(100))
    return;
  drawn_ = now;
  constexpr size_t kWidth = 40;
  const size_t filled = done * kWidth / total_;
  const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
  std::fprintf(stderr, "\r[%s] %zu/%zu", bar.c_str(), done, total_);
  std::fflush(stderr);
  shown_ = true;
}

void ProgressBar::BeforeLine() {
  if (output_terminal_) Hide();
}

void ProgressBar::Hide() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace lirvane
