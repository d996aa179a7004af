// FileReplacement on Windows: a temporary file beside the target that
// MoveFileExW puts in its place. A target that exists and is no regular
// file (a device such as NUL) is written into.
#include <random>
#include <string>

#include "base/file_io.h"
#include "base/file_replace.h"

namespace lirvane {

struct FileReplacement::State {
  Way way = Way::kNewFile;
  std::filesystem::path target;
  std::filesystem::path temporary;
  OutputFile file;
  bool created = false;
  bool rename_failed = false;
};

FileReplacement::FileReplacement() : state_(std::make_unique<State>()) {}

FileReplacement::~FileReplacement() {
  State& s = *state_;
  if (s.created && !s.rename_failed && s.way != Way::kWriteInto) {
    s.file.Close();  // Windows deletes no file that is still open
    std::error_code ignored;
    std::filesystem::remove(s.temporary, ignored);
  }
}

std::error_code FileReplacement::Open(const std::filesystem::path& target) {
  State& s = *state_;
  s.target = target;
  if (target.filename().empty()) return std::make_error_code(std::errc::is_a_directory);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (std::filesystem::is_directory(status)) return std::make_error_code(std::errc::is_a_directory);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    s.way = Way::kWriteInto;
    if ((error = s.file.OpenExisting(target))) return error;
    s.created = true;
    return {};
  }
  s.way = std::filesystem::exists(status) ? Way::kReplace : Way::kNewFile;
  // target + "~tmp", the name cut short so that the six characters added
  // keep it within the longest name.
  constexpr size_t kLongestName = 255;
  constexpr size_t kAdded = 4 + 6;
  std::string name = PathToText(target.filename());
  if (name.size() > kLongestName - kAdded) name.resize(kLongestName - kAdded);
  const std::string prefix = PathToText(target.parent_path() / PathFromText(name)) + "~tmp";
  if ((error = s.file.CreateUnique(prefix, s.temporary))) return error;
  s.created = true;
  return {};
}

FileReplacement::Way FileReplacement::way() const { return state_->way; }

std::string FileReplacement::WrittenName() const {
  const State& s = *state_;
  return PathToText(s.way == Way::kWriteInto ? s.target : s.temporary);
}

std::string FileReplacement::TargetName() const { return PathToText(state_->target); }

std::error_code FileReplacement::Write(std::string_view bytes) { return state_->file.Write(bytes); }

std::error_code FileReplacement::Commit() {
  State& s = *state_;
  if (s.way == Way::kWriteInto) return s.file.Close();
  std::error_code error = s.way == Way::kReplace ? s.file.SyncAndClose() : s.file.Close();
  if (error) return error;
  if ((error = RenameOver(s.temporary, s.target))) s.rename_failed = true;
  return error;
}

bool FileReplacement::RenameFailed() const { return state_->rename_failed; }

}  // namespace lirvane
