#include "batch/name_repair.h"

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <system_error>

#include "base/file_io.h"
#include "base/rename_no_replace.h"
#include "batch/file_verdict.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) text += part;
  return text;
}

}  // namespace

std::string RepairedName(const std::string& name, std::string& verdict) {
  FileJudge judge;
  judge.Feed(name);
  const FileVerdict found = judge.Finish();
  verdict = VerdictText(found);
  if (found.kind == FileVerdict::Kind::kBinary || found.kind == FileVerdict::Kind::kUnknown ||
      AlreadyInTarget(found, TargetPage::kUtf8))
    return {};
  std::string repaired;
  const std::unique_ptr<LineRepair> repair = MakeLineRepair(found, TargetPage::kUtf8, false);
  if (!repair->Feed(name, repaired) || !repair->Finish(repaired)) return {};
  if (repaired == name || repaired.find('/') != std::string::npos ||
      repaired.find('\0') != std::string::npos)
    return {};
  return repaired;
}

void RepairNames(const std::vector<ListedItem>& items, const BatchOptions& options,
                 BatchSummary& summary, const ReportLine& report) {
  for (const ListedItem& item : items) {
    if (!item.error.empty()) continue;
    const fs::path path = PathFromText(item.path);
    const std::string name = PathToText(path.filename());
    if (name.empty() || name == "." || name == "..") continue;
    std::string verdict;
    const std::string repaired = RepairedName(name, verdict);
    if (repaired.empty()) continue;
    const fs::path to = path.parent_path() / PathFromText(repaired);
    const std::string shown_to = PathToText(to);
    if (options.dry_run) {
      summary.CountNameToFix();
      report(item.path, Joined({"name ", verdict, "\t", shown_to}));
      continue;
    }
    if (const std::error_code error = RenameNoReplace(path, to)) {
      if (error == std::errc::file_exists) {
        summary.CountNameLeft();
        report(item.path, Joined({"left name ", verdict, ", the name ", shown_to, " is taken"}));
      } else {
        summary.CountNameError();
        report(item.path, Joined({"error cannot rename to ", shown_to, ": ", error.message()}));
      }
      continue;
    }
    summary.CountRenamed();
    report(item.path, Joined({"renamed ", verdict, "\t", shown_to}));
  }
}

}  // namespace lirvane
