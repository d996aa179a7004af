// The judgement made with the detector of the recoding commands: a file is
// UTF-8 when every line is well-formed UTF-8, 8-bit when no line with
// other than ASCII is, and mixed when it has lines of both kinds (a UTF-8
// file that another program appended 8-bit lines to). Each part is handed
// to DetectRecoding as Windows-1251 bytes; the chain it finds is applied
// line by line, and each repaired piece is garbled back along the same
// chain and compared with its input, so nothing is ever lost unnoticed.
#include "batch/file_verdict.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "batch/plain_russian.h"
#include "recode/codepage.h"
#include "recode/detect_recoding.h"
#include "recode/recode.h"
#include "recode/utf8.h"

namespace lirvane {

enum class LineMode { kUtf8, kEightBit, kByLine };

struct VerdictDetail {
  LineMode mode = LineMode::kUtf8;
  // Codes that turn each kind of line into Windows-1251 Russian.
  std::vector<int32_t> utf8_codes;
  std::vector<int32_t> eight_bit_codes;
};

namespace {

// Bytes kept of each part for the decision.
constexpr size_t kSampleBytes = kDetectSampleBytes;
// A line longer than this adds only its start to a sample.
constexpr size_t kLongestSampledLine = size_t{64} << 10;

std::string_view PageName(int32_t positive_code) {
  switch (positive_code) {
    case kCodeKoi8:
      return "koi8-r";
    case kCodeAlt866:
      return "cp866";
    case kCodeIso8859_5:
      return "iso-8859-5";
    case kCodeMac:
      return "mac-cyrillic";
    case kCodeUtf8:
      return "utf-8";
    default:
      return "windows-1251";
  }
}

bool IsEightBitPageCode(int32_t code) {
  return code == kCodeKoi8 || code == kCodeAlt866 || code == kCodeIso8859_5 || code == kCodeMac;
}

// A code undoes one garbling: a positive code the page read as
// Windows-1251, a negative one Windows-1251 read as the page.
std::string StepText(int32_t code) {
  const int32_t page = code < 0 ? -code : code;
  const std::string other(PageName(page));
  return code < 0 ? "windows-1251>" + other : other + ">windows-1251";
}

std::string ChainText(const std::vector<int32_t>& codes) {
  std::string text;
  for (size_t i = 0; i < codes.size();) {
    size_t same = 1;
    while (i + same < codes.size() && codes[i + same] == codes[i]) ++same;
    if (!text.empty()) text += ',';
    text += StepText(codes[i]);
    if (same > 1) {
      text += '*';
      text += std::to_string(same);
    }
    i += same;
  }
  return text;
}

std::vector<int32_t> Codes(const RecodingChain& chain) { return {chain.begin(), chain.end()}; }

bool IsWellFormedUtf8(std::string_view text);

// The head without a line a full sample may have cut, so that no
// character is cut either.
std::string_view UncutHead(std::string_view head) {
  if (head.size() < kSampleBytes) return head;
  const size_t end = head.rfind('\n');
  return end == std::string_view::npos ? head : head.substr(0, end + 1);
}

// How many times the Windows-1251 text is UTF-8 read as Windows-1251, when
// undoing that as often gives plainly Russian text (0: it already is);
// -1 when the quick test cannot tell.
int Utf8ReadAs1251Times(std::string_view text) {
  std::string undone(text);
  for (int times = 0; times <= 3; ++times) {
    if (IsPlainRussian1251(undone)) return times;
    if (!IsWellFormedUtf8(undone)) break;
    undone = Recode(undone, kCodeUtf8);
  }
  return -1;
}

// The same letter in both bytes, in either case (Windows-1251).
bool SameLetter(unsigned char a, unsigned char b) {
  const auto lower = [](unsigned char c) -> unsigned char {
    if (c >= 0xC0 && c <= 0xDF) return c + 0x20;
    return c == 0xA8 ? 0xB8 : c;
  };
  return lower(a) == lower(b) && lower(a) >= 0xB8;
}

// Differ only in the case of some letters.
bool DifferInCaseOnly(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] &&
        !SameLetter(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Capitals right after a small letter, inside a word (Windows-1251).
size_t InnerCapitals(std::string_view text) {
  size_t count = 0;
  bool after_small = false;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 0xC0 && b <= 0xDF) || b == 0xA8) count += after_small;
    after_small = b >= 0xE0 || b == 0xB8;
  }
  return count;
}

// The chain cut after the step from which on the text changes no more than
// the case of a few letters, and puts no capital inside a word back into
// small letters: a reading that only turns "Я" into "я" at the start of a
// word (what the Mac Cyrillic table does to a right Windows-1251 text)
// repairs nothing and is not made.
std::vector<int32_t> Meaningful(std::string_view text, std::vector<int32_t> codes) {
  if (codes.empty()) return codes;
  std::string whole(text);
  for (int32_t code : codes) RecodeInPlace(whole, code);
  std::string prefix(text);
  for (size_t kept = 0; kept < codes.size(); ++kept) {
    if (DifferInCaseOnly(prefix, whole) && InnerCapitals(whole) >= InnerCapitals(prefix)) {
      codes.resize(kept);
      break;
    }
    RecodeInPlace(prefix, codes[kept]);
  }
  return codes;
}

// The garbling of a UTF-8 text, as codes that undo it after reading it into
// Windows-1251; empty when it reads right or cannot be judged. Most UTF-8
// files are right, and the commonest garbling is UTF-8 read as
// Windows-1251, once or more: the quick test spares both the detector.
// (Not 8-bit files: there a letter-for-letter garbling twice over can pass
// it.)
std::vector<int32_t> Utf8Garbling(std::string_view utf8) {
  const std::string as_1251 = Recode(utf8, kCodeUtf8);
  if (const int times = Utf8ReadAs1251Times(as_1251); times >= 0)
    return std::vector<int32_t>(times, kCodeUtf8);
  const Detection found = DetectRecoding(as_1251);
  if (!found.judged) return {};
  return Meaningful(as_1251, Codes(found.chain));
}

// Eight bytes of ASCII with no line break and no NUL among them.
bool IsPlainAsciiWord(const unsigned char* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kHighs = 0x8080808080808080;
  const auto has_zero_byte = [](uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
  return (word & kHighs) == 0 && !has_zero_byte(word) && !has_zero_byte(word ^ (kOnes * '\n'));
}

// A control character no text file has: a few of them make a file binary.
bool IsBinaryControl(unsigned char b) {
  return (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1A &&
          b != 0x1B) ||
         b == 0x7F;
}

}  // namespace

struct FileJudge::State {
  std::string head;            // the file's first kSampleBytes
  std::string utf8_part;       // lines of non-ASCII UTF-8, up to kSampleBytes
  std::string eight_bit_part;  // lines that are not UTF-8, up to kSampleBytes
  std::string line;            // the start of a line cut by a piece's end
  bool nul = false;
  size_t lines = 0;
  size_t utf8_lines = 0;       // lines with non-ASCII, all well-formed UTF-8
  size_t eight_bit_lines = 0;  // lines with a byte that is no UTF-8
  bool ended_with_break = true;
  // The current line.
  bool non_ascii = false;
  bool malformed = false;
  int need = 0;                           // continuation bytes still expected
  unsigned char low = 0x80, high = 0xBF;  // the next continuation byte's range

  void EndLine(std::string_view rest) {
    if (need > 0) malformed = true;
    need = 0;
    ++lines;
    if (malformed) {
      ++eight_bit_lines;
      Sample(eight_bit_part, rest);
    } else if (non_ascii) {
      ++utf8_lines;
      Sample(utf8_part, rest);
    }
    line.clear();
    non_ascii = malformed = false;
  }

  void Sample(std::string& part, std::string_view rest) {
    if (part.size() >= kSampleBytes) return;
    part += line;
    part += rest.substr(0, kLongestSampledLine);
    if (part.empty() || part.back() != '\n') part += '\n';
  }

  void Scan(std::string_view piece) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
    size_t line_start = 0;
    for (size_t i = 0; i < piece.size(); ++i) {
      // Runs of ASCII other than line breaks and NULs, eight bytes at a
      // time: most of most files.
      while (need == 0 && i + 8 <= piece.size() && IsPlainAsciiWord(bytes + i)) i += 8;
      if (i == piece.size()) break;
      const unsigned char b = bytes[i];
      if (need > 0) {
        if (b >= low && b <= high) {
          --need;
          low = 0x80, high = 0xBF;
          continue;
        }
        malformed = true;
        need = 0;
      }
      if (b < 0x80) {
        if (b == '\n') {
          EndLine(piece.substr(line_start, i + 1 - line_start));
          line_start = i + 1;
        } else if (b == 0) {
          nul = true;
        }
        continue;
      }
      non_ascii = true;
      low = 0x80, high = 0xBF;
      if (b >= 0xC2 && b <= 0xDF)
        need = 1;
      else if (b == 0xE0)
        need = 2, low = 0xA0;
      else if (b == 0xED)
        need = 2, high = 0x9F;
      else if (b >= 0xE1 && b <= 0xEF)
        need = 2;
      else if (b == 0xF0)
        need = 3, low = 0x90;
      else if (b == 0xF4)
        need = 3, high = 0x8F;
      else if (b >= 0xF1 && b <= 0xF3)
        need = 3;
      else
        malformed = true;
    }
    if (line.size() < kLongestSampledLine)
      line += piece.substr(line_start, kLongestSampledLine - line.size());
    if (!piece.empty()) ended_with_break = piece.back() == '\n';
  }
};

FileJudge::FileJudge() : state_(std::make_unique<State>()) {}
FileJudge::~FileJudge() = default;

void FileJudge::Feed(std::string_view piece) {
  State& s = *state_;
  if (s.head.size() < kSampleBytes) s.head += piece.substr(0, kSampleBytes - s.head.size());
  s.Scan(piece);
}

FileVerdict FileJudge::Finish() {
  State& s = *state_;
  if (!s.ended_with_break) s.EndLine({});
  FileVerdict verdict;
  auto detail = std::make_shared<VerdictDetail>();
  verdict.detail = detail;

  const size_t controls = std::count_if(s.head.begin(), s.head.end(), [](char c) {
    return IsBinaryControl(static_cast<unsigned char>(c));
  });
  if (s.nul || controls * 32 > s.head.size()) {
    verdict.kind = FileVerdict::Kind::kBinary;
    return verdict;
  }

  if (s.eight_bit_lines == 0) {
    detail->mode = LineMode::kUtf8;
    verdict.kind = FileVerdict::Kind::kOk;
    if (s.utf8_lines == 0) {
      verdict.page = "ascii";
      return verdict;
    }
    verdict.page = "utf-8";
    const std::vector<int32_t> chain = Utf8Garbling(UncutHead(s.head));
    detail->utf8_codes = {kCodeUtf8};
    detail->utf8_codes.insert(detail->utf8_codes.end(), chain.begin(), chain.end());
    if (!chain.empty()) {
      verdict.kind = FileVerdict::Kind::kFix;
      verdict.page.clear();
      verdict.chain = ChainText(chain);
    }
    return verdict;
  }

  const bool mixed = s.utf8_lines > 0;
  const std::string_view eight_bit = mixed ? std::string_view(s.eight_bit_part) : s.head;
  const Detection found = DetectRecoding(eight_bit);
  if (!found.judged) return verdict;  // unknown
  detail->eight_bit_codes = Meaningful(eight_bit, Codes(found.chain));
  if (mixed) {
    detail->mode = LineMode::kByLine;
    const std::vector<int32_t> chain = Utf8Garbling(s.utf8_part);
    detail->utf8_codes = {kCodeUtf8};
    detail->utf8_codes.insert(detail->utf8_codes.end(), chain.begin(), chain.end());
    const size_t to_fix = s.eight_bit_lines + (chain.empty() ? 0 : s.utf8_lines);
    verdict.kind = FileVerdict::Kind::kMixed;
    verdict.lines_to_fix = to_fix;
    verdict.lines = s.lines;
    return verdict;
  }

  detail->mode = LineMode::kEightBit;
  std::vector<int32_t> garbling = detail->eight_bit_codes;
  verdict.page = "windows-1251";
  if (!garbling.empty() && IsEightBitPageCode(garbling.front())) {
    verdict.page = PageName(garbling.front());
    garbling.erase(garbling.begin());
  }
  if (garbling.empty()) {
    verdict.kind = FileVerdict::Kind::kOk;
  } else {
    verdict.kind = FileVerdict::Kind::kFix;
    verdict.chain = ChainText(garbling);
    verdict.page.clear();
  }
  return verdict;
}

std::string VerdictText(const FileVerdict& verdict) {
  switch (verdict.kind) {
    case FileVerdict::Kind::kOk:
      return "ok " + verdict.page;
    case FileVerdict::Kind::kFix:
      return "fix " + verdict.chain;
    case FileVerdict::Kind::kMixed:
      return "mixed " + std::to_string(verdict.lines_to_fix) + "/" + std::to_string(verdict.lines);
    case FileVerdict::Kind::kBinary:
      return "binary";
    case FileVerdict::Kind::kUnknown:
      break;
  }
  return "unknown";
}

bool AlreadyInTarget(const FileVerdict& verdict, TargetPage target) {
  if (verdict.kind != FileVerdict::Kind::kOk) return !verdict.NeedsRepair();
  if (verdict.page == "ascii") return true;
  return verdict.page == (target == TargetPage::kUtf8 ? "utf-8" : "windows-1251");
}

namespace {

// The codes from a kind of line to the target, with a step and its undoing
// side by side dropped (UTF-8 read in and written out again is the text
// itself, even when Windows-1251 lacks some of its characters).
std::vector<int32_t> ForwardCodes(const std::vector<int32_t>& codes, TargetPage target) {
  std::vector<int32_t> all = codes;
  if (target == TargetPage::kUtf8) all.push_back(-kCodeUtf8);
  std::vector<int32_t> kept;
  for (int32_t code : all) {
    if (!kept.empty() && kept.back() == -code)
      kept.pop_back();
    else
      kept.push_back(code);
  }
  return kept;
}

std::string Apply(std::string_view text, const std::vector<int32_t>& codes) {
  std::string out(text);
  for (int32_t code : codes) RecodeInPlace(out, code);
  return out;
}

class CodeLineRepair : public LineRepair {
 public:
  CodeLineRepair(const VerdictDetail& detail, TargetPage target, bool lossy)
      : mode_(detail.mode),
        utf8_(ForwardCodes(detail.utf8_codes, target)),
        eight_bit_(ForwardCodes(detail.eight_bit_codes, target)),
        lossy_(lossy) {
    for (const auto* codes : {&utf8_, &eight_bit_}) {
      std::vector<int32_t>& back = codes == &utf8_ ? utf8_back_ : eight_bit_back_;
      for (auto it = codes->rbegin(); it != codes->rend(); ++it) back.push_back(-*it);
    }
  }

  bool Repair(std::string_view lines, std::string& out) override {
    if (mode_ != LineMode::kByLine) return RepairPart(lines, mode_ == LineMode::kUtf8, out);
    while (!lines.empty()) {
      const size_t end = std::min(lines.find('\n'), lines.size() - 1) + 1;
      const std::string_view line = lines.substr(0, end);
      if (!RepairPart(line, IsWellFormedUtf8(line), out)) return false;
      lines.remove_prefix(end);
    }
    return true;
  }

 private:
  bool RepairPart(std::string_view text, bool utf8, std::string& out) {
    const std::vector<int32_t>& codes = utf8 ? utf8_ : eight_bit_;
    if (codes.empty()) {
      out += text;
      return true;
    }
    const std::string repaired = Apply(text, codes);
    if (!lossy_ && Apply(repaired, utf8 ? utf8_back_ : eight_bit_back_) != text) return false;
    out += repaired;
    return true;
  }

  LineMode mode_;
  std::vector<int32_t> utf8_, eight_bit_;
  std::vector<int32_t> utf8_back_, eight_bit_back_;
  bool lossy_;
};

bool IsWellFormedUtf8(std::string_view text) {
  char32_t c;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = DecodeUtf8(text, i, c);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace

std::unique_ptr<LineRepair> MakeLineRepair(const FileVerdict& verdict, TargetPage target,
                                           bool lossy) {
  static const VerdictDetail kNothing;
  return std::make_unique<CodeLineRepair>(verdict.detail ? *verdict.detail : kNothing, target,
                                          lossy);
}

}  // namespace lirvane
