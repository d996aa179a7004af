#include "batch/batch_options.h"

#include <charconv>

namespace lirvane {
namespace {

bool ParseJobs(std::string_view text, unsigned& jobs) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  return error == std::errc() && end == text.data() + text.size() && jobs > 0 && jobs <= 1024;
}

}  // namespace

bool IsBatchCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--check" || args[0] == "--fix");
}

bool ParseBatchOptions(const std::vector<std::string>& args, BatchOptions& options,
                       std::string& error) {
  options = {};
  options.command =
      args.at(0) == "--fix" ? BatchOptions::Command::kFix : BatchOptions::Command::kCheck;
  const bool fix = options.command == BatchOptions::Command::kFix;
  bool only_paths = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_paths || arg.empty() || arg[0] != '-' || arg == "-") {
      options.paths.push_back(arg);
    } else if (arg == "--") {
      only_paths = true;
    } else if (arg == "-r" || arg == "--recursive") {
      options.recursive = true;
    } else if (arg == "--jobs" || arg == "-j") {
      if (i + 1 == args.size() || !ParseJobs(args[i + 1], options.jobs)) {
        error = arg + " wants a number of workers from 1 to 1024";
        return false;
      }
      ++i;
    } else if (arg.starts_with("--jobs=")) {
      if (!ParseJobs(std::string_view(arg).substr(7), options.jobs)) {
        error = "--jobs wants a number of workers from 1 to 1024";
        return false;
      }
    } else if (fix && arg.starts_with("--to=")) {
      const std::string page = arg.substr(5);
      if (page == "utf-8" || page == "utf8" || page == "UTF-8") {
        options.target = TargetPage::kUtf8;
      } else if (page == "windows-1251" || page == "cp1251" || page == "WINDOWS-1251") {
        options.target = TargetPage::kWindows1251;
      } else {
        error = "--to= takes utf-8 or windows-1251, not \"" + page + "\"";
        return false;
      }
    } else if (fix && arg == "--dry-run") {
      options.dry_run = true;
    } else if (fix && arg == "--lossy") {
      options.lossy = true;
    } else if (fix && arg == "--keep-time") {
      options.keep_time = true;
    } else if (fix && arg == "--names") {
      options.names = true;
    } else {
      error = "unknown option " + arg + " for " + args[0];
      return false;
    }
  }
  if (options.paths.empty()) {
    error = args[0] + " wants at least one file or folder";
    return false;
  }
  return true;
}

}  // namespace lirvane
