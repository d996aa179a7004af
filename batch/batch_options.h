// The command line of the folder commands:
//   lirvane --check [-r] [--jobs N] PATH...
//   lirvane --fix [-r] [--to=utf-8|windows-1251] [--dry-run] [--lossy]
//                 [--keep-time] [--names] [--jobs N] PATH...
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/file_verdict.h"

namespace lirvane {

struct BatchOptions {
  enum class Command { kCheck, kFix };
  Command command = Command::kCheck;
  bool recursive = false;
  TargetPage target = TargetPage::kUtf8;
  bool dry_run = false;
  bool lossy = false;
  bool keep_time = false;
  bool names = false;
  unsigned jobs = 0;  // 0: one per core
  std::vector<std::string> paths;
};

// True when the first argument names a folder command.
bool IsBatchCommand(const std::vector<std::string>& args);

// False, with the reason in `error`, for a command line that asks for
// nothing sensible.
bool ParseBatchOptions(const std::vector<std::string>& args, BatchOptions& options,
                       std::string& error);

}  // namespace lirvane
