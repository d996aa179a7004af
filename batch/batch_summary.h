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
  // Names, counted apart from the files: a name left as it was needs a
  // repair still; a failed rename is an error.
  void CountRenamed() { ++renamed_; }
  void CountNameLeft() { ++names_left_; }
  void CountNameToFix() { ++names_to_fix_; }
  void CountNameError() { ++name_errors_; }
  void MarkInterrupted() { interrupted_ = true; }
  // "1 240 files: 1 100 ok, 120 to fix, 20 binary".
  std::string Text() const;
  int ExitStatus() const;

 private:
  size_t Of(FileOutcome::Kind kind) const { return counts_[static_cast<size_t>(kind)]; }
  std::array<size_t, 8> counts_{};
  size_t renamed_ = 0;
  size_t names_left_ = 0;
  size_t names_to_fix_ = 0;  // --dry-run
  size_t name_errors_ = 0;
  bool interrupted_ = false;
};

// 1240 as "1 240".
std::string GroupedNumber(size_t number);

}  // namespace lirvane
