#include "batch/repair_preview.h"

#include <memory>
#include <system_error>

#include "base/file_io.h"
#include "recode/codepage.h"
#include "recode/recode.h"

namespace lirvane {

std::string RepairPreview(const std::string& path, TargetPage target, size_t bytes) {
  // The verdict needs the whole file (a line in another page may come
  // late); the preview only its start.
  InputFile input;
  if (input.Open(PathFromText(path))) return {};
  FileJudge judge;
  std::string head;
  std::string block(size_t{256} << 10, '\0');
  for (;;) {
    size_t got = 0;
    if (input.Read(block.data(), block.size(), got)) return {};
    if (got == 0) break;
    const std::string_view piece(block.data(), got);
    judge.Feed(piece);
    if (head.size() < bytes) head += piece.substr(0, bytes - head.size());
  }
  const FileVerdict verdict = judge.Finish();
  if (head.size() >= bytes) {
    const size_t end = head.rfind('\n');
    if (end != std::string::npos) head.resize(end + 1);
  }
  std::string repaired;
  const std::unique_ptr<LineRepair> repair = MakeLineRepair(verdict, target, /*lossy=*/false);
  if (!repair->Feed(head, repaired) || !repair->Finish(repaired)) return {};
  return target == TargetPage::kUtf8 ? repaired : Recode(repaired, -kCodeUtf8);
}

}  // namespace lirvane
