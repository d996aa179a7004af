// The counts of a folder command's run: the summary line on standard error
// and the exit status.
//
//   0  no file needs a repair (any more)
//   1  some file needs one: --check found it, --dry-run would make it, or
//      --fix left it as it was
//   2  some file or folder could not be read, written or renamed
//   130  the run was interrupted (Ctrl+C); files not reached are unchecked
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "batch/file_outcome.h"

namespace lirvane {

inline constexpr int kBatchExitInterrupted = 130;

class BatchSummary {
 public:
  void Count(FileOutcome::Kind kind) { ++counts_[static_cast<size_t>(kind)]; }
  void CountRenamed() { ++renamed_; }
  void MarkInterrupted() { interrupted_ = true; }
  // "1 240 files: 1 100 ok, 120 to fix, 20 binary".
  std::string Text() const;
  int ExitStatus() const;

 private:
  size_t Of(FileOutcome::Kind kind) const { return counts_[static_cast<size_t>(kind)]; }
  std::array<size_t, 8> counts_{};
  size_t renamed_ = 0;
  bool interrupted_ = false;
};

// 1240 as "1 240".
std::string GroupedNumber(size_t number);

}  // namespace lirvane
