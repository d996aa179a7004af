#include "batch/file_task.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "base/file_io.h"
#include "base/message_sink.h"
#include "batch/file_verdict.h"
#include "convert/conversion_target.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

// Large enough that system calls vanish against the work on the text.
constexpr size_t kBlockSize = size_t{256} << 10;

using Kind = FileOutcome::Kind;

// The first message a step shows, for the file's own line.
class KeptMessage : public MessageSink {
 public:
  void Show(MessageKind, std::string_view text) override {
    if (text_.empty()) text_ = text;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

enum class ReadEnd { kDone, kFailed, kStopped, kRefused };

// Hands the file to `take` block by block until it returns false
// (kRefused), the file ends, reading fails (`error`) or `stop` is set.
template <typename Take>
ReadEnd ReadThrough(const std::string& path, const std::atomic<bool>& stop, std::string& error,
                    Take&& take) {
  InputFile input;
  if (const std::error_code failure = input.Open(PathFromText(path))) {
    error = failure.message();
    return ReadEnd::kFailed;
  }
  const size_t block = input.ReadSizeHint(kBlockSize);
  const auto buffer = std::make_unique_for_overwrite<char[]>(block);
  for (;;) {
    if (stop.load(std::memory_order_relaxed)) return ReadEnd::kStopped;
    size_t got = 0;
    if (const std::error_code failure = input.Read(buffer.get(), block, got)) {
      error = failure.message();
      return ReadEnd::kFailed;
    }
    if (got == 0) return ReadEnd::kDone;
    if (!take(std::string_view(buffer.get(), got))) return ReadEnd::kRefused;
  }
}

constexpr const char* kDisappeared = "the file disappeared while it was being repaired";

FileOutcome Stopped() { return {Kind::kStopped, "error interrupted, the file is as it was"}; }
FileOutcome Failed(const std::string& message) { return {Kind::kError, "error " + message}; }

// Reads and judges the file; false with `outcome` set when that fails.
bool Judge(const std::string& path, const std::atomic<bool>& stop, FileVerdict& verdict,
           FileOutcome& outcome) {
  FileJudge judge;
  std::string error;
  const ReadEnd end = ReadThrough(path, stop, error, [&](std::string_view piece) {
    judge.Feed(piece);
    return true;
  });
  if (end == ReadEnd::kStopped) outcome = Stopped();
  if (end == ReadEnd::kFailed) outcome = Failed(error);
  if (end != ReadEnd::kDone) return false;
  verdict = judge.Finish();
  return true;
}

Kind KindOf(const FileVerdict& verdict) {
  switch (verdict.kind) {
    case FileVerdict::Kind::kOk:
      return Kind::kOk;
    case FileVerdict::Kind::kBinary:
      return Kind::kBinary;
    case FileVerdict::Kind::kUnknown:
      return Kind::kUnknown;
    default:
      return Kind::kToFix;
  }
}

// What is known of a file before it is replaced, to find out whether
// anything else changed it meanwhile.
struct FileStamp {
  fs::file_time_type time;
  std::uintmax_t size = 0;
  bool read = false;

  static FileStamp Of(const fs::path& path) {
    FileStamp stamp;
    std::error_code error;
    stamp.time = fs::last_write_time(path, error);
    if (!error) stamp.size = fs::file_size(path, error);
    stamp.read = !error;
    return stamp;
  }
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

}  // namespace

FileOutcome CheckFile(const std::string& path, const std::atomic<bool>& stop) {
  FileVerdict verdict;
  FileOutcome outcome;
  if (!Judge(path, stop, verdict, outcome)) return outcome;
  return {KindOf(verdict), VerdictText(verdict)};
}

FileOutcome FixFile(const std::string& path, const BatchOptions& options,
                    const std::atomic<bool>& stop) {
  const fs::path file = PathFromText(path);
  const FileStamp before = FileStamp::Of(file);
  FileVerdict verdict;
  FileOutcome outcome;
  if (!Judge(path, stop, verdict, outcome)) return outcome;
  if (verdict.kind == FileVerdict::Kind::kBinary || verdict.kind == FileVerdict::Kind::kUnknown ||
      AlreadyInTarget(verdict, options.target))
    return {KindOf(verdict), {}};  // not touched, nothing to say

  const std::string text = VerdictText(verdict);
  std::error_code error;
  if (const auto links = fs::hard_link_count(file, error); !error && links > 1)
    return {Kind::kLeft,
            "left " + text + ", the file has " + std::to_string(links) + " names (hard links)"};

  const std::unique_ptr<LineRepair> repair = MakeLineRepair(verdict, options.target, options.lossy);
  FileOutcome lossy = {
      Kind::kLeft,
      "left " + text + ", the repair would lose or change characters (--lossy allows it)"};
  std::string repaired;
  std::string read_error;

  if (options.dry_run) {
    const ReadEnd end = ReadThrough(path, stop, read_error, [&](std::string_view piece) {
      repaired.clear();
      return repair->Feed(piece, repaired);
    });
    if (end == ReadEnd::kStopped) return Stopped();
    if (end == ReadEnd::kFailed) return Failed(read_error);
    if (end == ReadEnd::kRefused || !repair->Finish(repaired)) return lossy;
    return {Kind::kToFix, text};
  }

  KeptMessage message;
  ConversionTarget target(path, message);
  target.DiscardTextIfRenameFails();
  if (target.Create() != ConversionStatus::kOk) return Failed(message.text());
  bool lost = false;
  // Repairs what `piece` completes (the rest of the text when there is no
  // piece) and writes it.
  const auto write = [&](const std::string_view* piece) {
    repaired.clear();
    if (!(piece ? repair->Feed(*piece, repaired) : repair->Finish(repaired))) {
      lost = true;
      return false;
    }
    return target.Write(repaired) == ConversionStatus::kOk;
  };
  const ReadEnd end =
      ReadThrough(path, stop, read_error, [&](std::string_view piece) { return write(&piece); });
  if (end == ReadEnd::kStopped) return Stopped();
  if (end == ReadEnd::kFailed) return Failed(FileStamp::Of(file).read ? read_error : kDisappeared);
  if (end == ReadEnd::kRefused || !write(nullptr)) return lost ? lossy : Failed(message.text());
  if (stop.load()) return Stopped();
  if (const FileStamp now = FileStamp::Of(file); now != before) {
    return Failed(now.read ? "the file changed while it was being repaired and is left as it is now"
                           : kDisappeared);
  }
  if (target.Commit() != ConversionStatus::kOk) return Failed(message.text());
  if (options.keep_time && before.read) {
    fs::last_write_time(file, before.time, error);
    if (error) return {Kind::kFixed, "fixed " + text + ", its time not kept: " + error.message()};
  }
  return {Kind::kFixed, "fixed " + text};
}

}  // namespace lirvane
