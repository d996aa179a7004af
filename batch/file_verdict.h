// What a file needs: the judgement of one file's bytes and the repair that
// follows from it. The rest of the folder commands knows only these types,
// so a better detector changes file_verdict.cpp alone.
//
// A verdict is written as one word and its details:
//   ok PAGE        the text reads right in PAGE (utf-8, ascii, windows-1251,
//                  koi8-r, cp866, iso-8859-5, mac-cyrillic)
//   fix CHAIN      the text was garbled: CHAIN lists the steps in the order
//                  they are undone, each "WRITTEN>READ" (the text written in
//                  one page and read as another: utf-8, windows-1251,
//                  koi8-r, cp866, iso-8859-5, mac-cyrillic, or as read
//                  only, windows-1252 and iso-8859-1), "*N" for a step made
//                  N times, steps joined by ","
//   mixed N/M      N lines of the M need a repair, the others do not
//   binary         not text
//   unknown        too little Russian text to judge
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace lirvane {

struct VerdictDetail;  // the detector's own findings, file_verdict.cpp

struct FileVerdict {
  enum class Kind { kOk, kFix, kMixed, kBinary, kUnknown };
  Kind kind = Kind::kUnknown;
  std::string page;         // kOk: the page the text reads right in
  std::string chain;        // kFix: the garbling, as in the grammar above
  size_t lines_to_fix = 0;  // kMixed
  size_t lines = 0;         // kMixed
  std::shared_ptr<const VerdictDetail> detail;

  bool NeedsRepair() const { return kind == Kind::kFix || kind == Kind::kMixed; }
};

// "ok utf-8", "fix utf-8>windows-1251", "mixed 3/40", "binary", "unknown".
std::string VerdictText(const FileVerdict& verdict);

// Judges a file fed piece by piece, in bounded memory: the decision is made
// on the first few hundred KiB, the rest is scanned for what could change
// it (a NUL byte, lines in another page).
class FileJudge {
 public:
  FileJudge();
  ~FileJudge();
  void Feed(std::string_view piece);
  FileVerdict Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The page a repaired file is written in.
enum class TargetPage { kUtf8, kWindows1251 };

// True when the file reads right and is already in `target`: it is left
// exactly as it is.
bool AlreadyInTarget(const FileVerdict& verdict, TargetPage target);

// Repairs a judged file fed piece by piece, in the order its bytes come:
// the text is repaired in parts of whole lines of a few hundred KiB, each
// decided on its own and line by line within it, as the verdict was. A
// byte-order mark stays when the target is UTF-8.
class LineRepair {
 public:
  virtual ~LineRepair() = default;
  // Appends the repaired text of the parts complete so far to `out`. False
  // when the repair would lose a character the target page lacks and
  // losing is not allowed; `out` then means nothing.
  virtual bool Feed(std::string_view piece, std::string& out) = 0;
  // The rest of the text.
  virtual bool Finish(std::string& out) = 0;
};

// `lossy`: characters the target lacks may become '?'.
std::unique_ptr<LineRepair> MakeLineRepair(const FileVerdict& verdict, TargetPage target,
                                           bool lossy);

}  // namespace lirvane
