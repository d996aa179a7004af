#include "batch/batch_summary.h"

#include <utility>

namespace lirvane {

std::string GroupedNumber(size_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

std::string BatchSummary::Text() const {
  using Kind = FileOutcome::Kind;
  size_t files = 0;
  for (size_t count : counts_) files += count;
  std::string text = GroupedNumber(files) + (files == 1 ? " file: " : " files: ") +
                     GroupedNumber(Of(Kind::kOk)) + " ok";
  const std::pair<Kind, const char*> parts[] = {
      {Kind::kToFix, "to fix"},       {Kind::kFixed, "fixed"},     {Kind::kLeft, "left alone"},
      {Kind::kBinary, "binary"},      {Kind::kUnknown, "unknown"}, {Kind::kError, "errors"},
      {Kind::kStopped, "interrupted"}};
  for (const auto& [kind, words] : parts) {
    if (Of(kind) == 0) continue;
    const bool one_error = kind == Kind::kError && Of(kind) == 1;
    text += ", " + GroupedNumber(Of(kind)) + " " + (one_error ? "error" : words);
  }
  const size_t names = renamed_ + names_left_ + name_errors_ + names_to_fix_;
  if (names > 0) {
    text += "; names: " + (names_to_fix_ > 0 ? GroupedNumber(names_to_fix_) + " to fix"
                                             : GroupedNumber(renamed_) + " renamed");
    if (names_left_ > 0) text += ", " + GroupedNumber(names_left_) + " left alone";
    if (name_errors_ > 0)
      text += ", " + GroupedNumber(name_errors_) + (name_errors_ == 1 ? " error" : " errors");
  }
  if (interrupted_) text += "; interrupted, the files after those were not looked at";
  return text;
}

int BatchSummary::ExitStatus() const {
  using Kind = FileOutcome::Kind;
  if (interrupted_ || Of(Kind::kStopped) > 0) return kBatchExitInterrupted;
  if (Of(Kind::kError) > 0 || name_errors_ > 0) return 2;
  if (Of(Kind::kToFix) > 0 || Of(Kind::kLeft) > 0 || names_left_ > 0 || names_to_fix_ > 0) return 1;
  return 0;
}

}  // namespace lirvane
