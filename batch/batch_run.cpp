#include "batch/batch_run.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "batch/batch_options.h"
#include "batch/batch_summary.h"
#include "batch/file_list.h"
#include "batch/file_task.h"
#include "batch/name_repair.h"
#include "batch/progress_bar.h"
#include "batch/stop_signal.h"

namespace lirvane {
namespace {

// A path on one line of the report: a tab, a line break or a backslash in
// it is written as \t, \n or \\.
std::string ShownPath(const std::string& path) {
  std::string shown;
  for (char c : path) {
    if (c == '\\')
      shown += "\\\\";
    else if (c == '\t')
      shown += "\\t";
    else if (c == '\n')
      shown += "\\n";
    else
      shown += c;
  }
  return shown;
}

void PrintLine(const std::string& path, const std::string& text) {
  const std::string line = ShownPath(path) + "\t" + text + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

FileOutcome WorkOn(const ListedItem& item, const BatchOptions& options) {
  if (!item.error.empty()) return {FileOutcome::Kind::kError, "error " + item.error};
  if (options.command == BatchOptions::Command::kCheck)
    return CheckFile(item.path, StopRequested());
  return FixFile(item.path, options, StopRequested());
}

// Lines the workers have ready before they wake the printer, and how long
// the printer sleeps at most (to show the progress, and to print lines
// that came in fewer).
constexpr size_t kLinesPerWakeUp = 64;
constexpr int kWait = 100;  // ms

// Every file on a pool of workers; the lines come out in the order of the
// list whatever order the workers finish in.
void WorkThrough(const std::vector<ListedItem>& items, const BatchOptions& options,
                 BatchSummary& summary) {
  std::vector<size_t> files;  // the items to work on: folders only for errors
  for (size_t i = 0; i < items.size(); ++i)
    if (!items[i].folder || !items[i].error.empty()) files.push_back(i);

  unsigned jobs = options.jobs ? options.jobs : std::thread::hardware_concurrency();
  if (jobs == 0) jobs = 1;
  if (jobs > files.size()) jobs = static_cast<unsigned>(std::max<size_t>(files.size(), 1));

  std::vector<std::optional<FileOutcome>> outcomes(files.size());
  std::mutex mutex;
  std::condition_variable ready;
  size_t next = 0;
  size_t awaited = 0;  // the line the printer waits for
  unsigned running = jobs;
  const auto work = [&] {
    for (;;) {
      size_t at;
      {
        std::lock_guard lock(mutex);
        if (next == files.size() || StopRequested().load()) break;
        at = next++;
      }
      FileOutcome outcome = WorkOn(items[files[at]], options);
      std::lock_guard lock(mutex);
      outcomes[at] = std::move(outcome);
      // The printer is woken for a run of lines, not for each: a wake-up
      // costs as much as judging a small file.
      if (at >= awaited + kLinesPerWakeUp) ready.notify_one();
    }
    std::lock_guard lock(mutex);
    --running;
    ready.notify_one();
  };
  std::vector<std::jthread> workers;
  for (unsigned i = 0; i < jobs; ++i) workers.emplace_back(work);

  ProgressBar bar(files.size());
  size_t printed = 0;
  while (printed < files.size()) {
    std::optional<FileOutcome> outcome;
    {
      std::unique_lock lock(mutex);
      awaited = printed;
      ready.wait_for(lock, std::chrono::milliseconds(kWait),
                     [&] { return outcomes[printed].has_value() || running == 0; });
      const bool waiting = !outcomes[printed] && running > 0;
      if (!waiting) outcome = std::move(outcomes[printed]);
      lock.unlock();
      if (waiting) {
        bar.Show(printed);
        continue;
      }
    }
    const std::string& path = items[files[printed++]].path;
    if (!outcome) continue;  // never started: the run was stopped
    summary.Count(outcome->kind);
    if (!outcome->text.empty()) {
      bar.BeforeLine();
      PrintLine(path, outcome->text);
    }
    bar.Show(printed);
  }
  bar.Hide();
}

}  // namespace

int RunBatch(const std::vector<std::string>& args) {
  BatchOptions options;
  std::string error;
  if (!ParseBatchOptions(args, options, error)) {
    std::fprintf(stderr, "lirvane: %s\n", error.c_str());
    return 2;
  }
  CatchStopSignals();
  const std::vector<ListedItem> items = ListFiles(options.paths, options.recursive, options.names);
  BatchSummary summary;
  WorkThrough(items, options, summary);
  if (options.names && !StopRequested().load())
    RepairNames(items, options, summary,
                [](const std::string& path, const std::string& text) { PrintLine(path, text); });
  if (StopRequested().load()) summary.MarkInterrupted();
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", summary.Text().c_str());
  return summary.ExitStatus();
}

}  // namespace lirvane
