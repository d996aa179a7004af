// The judgement made with the repair of "Авто" (recode/repair.h): the
// file's head, some 256 KiB of whole lines, is repaired as the keywords
// "auto" and "autoutf8" repair it, and what the repair did becomes the
// verdict. The rest of the file is only scanned: for its lines, a NUL byte,
// and lines in another page than the head's (UTF-8 or 8-bit). A repair
// later goes through the file in parts cut as the head was, so the head's
// repair is made once.
//
// Most files of a folder plainly read right, in UTF-8 or a Russian page, or
// are plainly UTF-8 read as one page, in each line (plain_russian.h): such
// a text is judged and converted without the repair's weighing of every
// chain, which costs some forty times as much, and as the repair would.
#include "batch/file_verdict.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "batch/line_scan.h"
#include "batch/plain_russian.h"
#include "recode/code_pages.h"
#include "recode/codepage.h"
#include "recode/detect_recoding.h"
#include "recode/repair.h"
#include "recode/utf8_recode.h"

namespace lirvane {

struct VerdictDetail {
  std::string head;  // the judged part: the head, without a byte-order mark
  Repair repair;     // what the repair made of it
};

namespace {

using P = CodePageId;

constexpr size_t kSampleBytes = kDetectSampleBytes;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view PageName(P page) {
  switch (page) {
    case P::kUtf8:
      return "utf-8";
    case P::kWin1251:
      return "windows-1251";
    case P::kKoi8R:
      return "koi8-r";
    case P::kDos866:
      return "cp866";
    case P::kIso8859_5:
      return "iso-8859-5";
    case P::kMacCyrillic:
      return "mac-cyrillic";
    case P::kWin1252:
      return "windows-1252";
    case P::kLatin1:
      return "iso-8859-1";
  }
  return "windows-1251";
}

// Steps in the order they are undone, a run of the same step as "*N".
std::string ChainText(const GarblingChain& steps) {
  std::string text;
  for (size_t i = 0; i < steps.size();) {
    size_t same = 1;
    while (i + same < steps.size() && steps[i + same] == steps[i]) ++same;
    if (!text.empty()) text += ',';
    text += PageName(steps[i].written);
    text += '>';
    text += PageName(steps[i].read);
    if (same > 1) {
      text += '*';
      text += std::to_string(same);
    }
    i += same;
  }
  return text;
}

// A recoding command's code as the garbling it undoes: a positive code the
// page read as Windows-1251, a negative one Windows-1251 read as the page.
GarblingStep StepOfCode(int32_t code) {
  const P page = PageOfStepCode(code < 0 ? -code : code);
  return code < 0 ? GarblingStep{P::kWin1251, page} : GarblingStep{page, P::kWin1251};
}

// The part of a file's text (the bytes fed so far, after a byte-order
// mark) that is judged, and repaired first.
std::string_view JudgedPart(std::string_view head, size_t fed) {
  return fed >= kSampleBytes ? head.substr(0, RepairPartEnd(head.substr(0, kSampleBytes))) : head;
}

// A control character no text file has: a few of them make a file binary.
bool IsBinaryControl(unsigned char b) {
  return (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1A &&
          b != 0x1B) ||
         b == 0x7F;
}

// How many such control characters the text has: sixteen bytes at a time
// past the blocks with none, as nearly every block of a text file is.
size_t BinaryControls(std::string_view text) {
  static const auto kIsControl = [] {
    std::array<uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = IsBinaryControl(static_cast<unsigned char>(b));
    return table;
  }();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t controls = 0, i = 0;
#if defined(__SSE2__)
  const __m128i below_space = _mm_set1_epi8(0x1F);
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(v, below_space), v);
    const __m128i spacing = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')),
                                         _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')),
                                                      _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
    const __m128i suspect =
        _mm_or_si128(_mm_andnot_si128(spacing, low), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
    if (_mm_movemask_epi8(suspect) == 0) continue;
    for (int k = 0; k < 16; ++k) controls += kIsControl[bytes[i + k]];
  }
#endif
  for (; i < text.size(); ++i) controls += kIsControl[bytes[i]];
  return controls;
}

// Calls line(std::string_view) with each line, its line break included.
template <typename Line>
void ForEachLine(std::string_view text, Line&& line) {
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    line(text.substr(0, end));
    text.remove_prefix(end);
  }
}

// Whether Windows-1251 bytes hold Russian letters enough to judge by: as
// many, and of as many kinds, as the repair asks of a text it repairs.
bool HasLettersToJudge(std::string_view bytes) {
  std::array<bool, 32> kinds{};
  size_t letters = 0, kind_count = 0;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0xC0 && b != 0xA8 && b != 0xB8) continue;
    ++letters;
    const int kind = b >= 0xC0 ? (b - 0xC0) % 32 : 5;  // Ё is Е
    if (!kinds[kind]) kinds[kind] = true, ++kind_count;
  }
  return letters >= kDetectMinLetters && kind_count >= 4;
}

// The verdict on an 8-bit text the repair read through a chain of
// recoding commands, which it names only in words: the detector it asked
// names it again, by the garbling it undoes (the chain itself may be a
// longer exact undoing of it). Its first undoing step, when it reads one
// of the other Russian pages as Windows-1251, is the page the file is in.
// A UTF-8 file holds such a text as its Windows-1251 reading: no page.
void JudgeRecodingChain(std::string_view bytes, FileVerdict& verdict, bool utf8_file = false) {
  const Detection found = DetectRecoding(bytes);
  std::vector<int32_t> codes;
  for (int i = found.garbling.length - 1; i >= 0; --i) codes.push_back(-found.garbling.steps[i]);
  verdict.page = utf8_file ? "utf-8" : "windows-1251";
  if (!utf8_file && !codes.empty() && codes.front() > 0) {
    if (const P page = PageOfStepCode(codes.front()); page != P::kWin1251) {
      verdict.page = PageName(page);
      codes.erase(codes.begin());
    }
  }
  if (codes.empty()) {
    verdict.kind = FileVerdict::Kind::kOk;
    return;
  }
  GarblingChain steps;
  for (const int32_t code : codes) steps.push_back(StepOfCode(code));
  verdict.kind = FileVerdict::Kind::kFix;
  verdict.page.clear();
  verdict.chain = ChainText(steps);
}

// The one Russian page in which an 8-bit text plainly reads right (the
// quick test of plain_russian.h, which spares the repair's weighing of
// every chain for most files).
std::optional<P> PlainEightBitPage(std::string_view bytes) {
  static constexpr P kPages[] = {P::kWin1251, P::kKoi8R, P::kDos866, P::kIso8859_5,
                                 P::kMacCyrillic};
  // Each page's bytes as Windows-1251; a character it lacks as 0x98, a
  // byte no Russian text holds.
  static const auto kAs1251 = [] {
    std::array<std::array<char, 256>, std::size(kPages)> tables{};
    for (size_t p = 0; p < std::size(kPages); ++p)
      for (int b = 0; b < 256; ++b) {
        const int e = b < 0x80 ? b : EncodeChar(P::kWin1251, DecodeByte(kPages[p], uint8_t(b)));
        tables[p][b] = static_cast<char>(e < 0 ? 0x98 : e);
      }
    return tables;
  }();
  std::array<size_t, 256> counts{};
  for (const char c : bytes) ++counts[static_cast<uint8_t>(c)];
  std::optional<P> found;
  std::string win;
  for (size_t p = 0; p < std::size(kPages); ++p) {
    // The letters' counts first: they rule out the wrong pages at the cost
    // of 128 bytes, not of the whole text.
    std::array<size_t, 256> as_1251{};
    for (int b = 0x80; b < 0x100; ++b) as_1251[static_cast<uint8_t>(kAs1251[p][b])] += counts[b];
    if (!MayBePlainRussian1251(as_1251)) continue;
    win.resize(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) win[i] = kAs1251[p][static_cast<uint8_t>(bytes[i])];
    if (!IsPlainRussian1251ByLine(win)) continue;
    if (found) return std::nullopt;
    found = kPages[p];
  }
  return found;
}

// Whether no line of the Windows-1251 reading of a UTF-8 text has more
// than two '?' beyond the text's own: characters the page lacks, as a
// right text has now and then, but not a line of Western letters (UTF-8
// read as Windows-1252, "ÐŸÑ€Ð¸Ð²ÐµÑ‚").
bool FewMarksALine(std::string_view utf8, std::string_view win) {
  constexpr size_t kMarks = 2;
  while (!utf8.empty() && !win.empty()) {
    const size_t utf8_end = std::min(utf8.find('\n'), utf8.size() - 1) + 1;
    const size_t win_end = std::min(win.find('\n'), win.size() - 1) + 1;
    const auto marks = [](std::string_view line) {
      return std::count(line.begin(), line.end(), '?');
    };
    if (marks(win.substr(0, win_end)) > marks(utf8.substr(0, utf8_end)) + ptrdiff_t{kMarks})
      return false;
    utf8.remove_prefix(utf8_end);
    win.remove_prefix(win_end);
  }
  return utf8.empty() && win.empty();
}

// A UTF-8 text that plainly is right Russian (an empty chain), or plainly
// is one garbled along the chain: read as Windows-1251, Windows-1252,
// ISO-8859-1, KOI8-R or DOS 866 and saved as UTF-8 some times, after being
// read so from a Russian 8-bit page or not. Each character has a byte in
// the page read at every step, so that undoing the chain undoes every line,
// as the repair would. Nothing: the repair must judge.
std::optional<GarblingChain> PlainUtf8Garbling(std::string_view utf8) {
  // The pages UTF-8 is read as today, the commonest first.
  static constexpr P kWesternAndOthers[] = {P::kWin1252, P::kLatin1, P::kKoi8R, P::kDos866};
  constexpr size_t kMaxSteps = 3;
  const auto is_ascii = [](std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; });
  };
  std::string text;
  std::string_view now = utf8;
  GarblingChain chain;
  for (;;) {
    std::string win = Utf8ToWin(now);
    // A character Windows-1251 lacks, or a byte that is no UTF-8, is '?'.
    const bool lossless =
        win.find('?') == std::string::npos ||
        std::count(win.begin(), win.end(), '?') == std::count(now.begin(), now.end(), '?');
    if (lossless ? IsPlainRussian1251ByLine(win)
                 : chain.empty() && FewMarksALine(now, win) && IsPlainRussian1251ByLine(win))
      return chain;  // right as it is (some characters 1251 lacks, a few a line)
    if (chain.size() == kMaxSteps) return std::nullopt;
    // The text read as a page from the bytes of a Russian page, or of
    // UTF-8 (then on to the next step).
    std::optional<std::string> next;
    GarblingStep next_step;
    const auto try_reader = [&](P reader, std::string bytes) {
      if (const std::optional<P> page = PlainEightBitPage(bytes)) {
        chain.push_back({*page, reader});
        return true;
      }
      if (!next && !is_ascii(bytes) && IsWellFormedUtf8(bytes)) {
        next = std::move(bytes);
        next_step = {P::kUtf8, reader};
      }
      return false;
    };
    if (lossless && try_reader(P::kWin1251, std::move(win))) return chain;
    if (IsWellFormedUtf8(now))
      for (const P reader : kWesternAndOthers)
        if (std::optional<std::string> bytes = EncodeUtf8In(now, reader))
          if (try_reader(reader, std::move(*bytes))) return chain;
    if (!next) return std::nullopt;
    chain.push_back(next_step);
    text = std::move(*next);
    now = text;
  }
}

// A text of UTF-8 lines and 8-bit lines (a UTF-8 file another program
// appended 8-bit lines to) that plainly is right Russian in both: the page
// of its 8-bit lines, which are all that needs a repair.
std::optional<P> PlainPageByKind(std::string_view text) {
  std::string utf8, eight_bit;
  ForEachLine(text, [&](std::string_view line) {
    (ScanOf(line).eight_bit_lines ? eight_bit : utf8).append(line);
  });
  const std::optional<GarblingChain> garbling = PlainUtf8Garbling(utf8);
  return garbling && garbling->empty() ? PlainEightBitPage(eight_bit) : std::nullopt;
}

// How a text plainly reads, found without the repair's weighing of every
// chain: as UTF-8 along a chain (empty: right as it is), in an 8-bit page,
// or in UTF-8 lines and 8-bit lines of a page.
struct PlainReading {
  enum class Kind { kUtf8, kPage, kByKind };
  Kind kind = Kind::kUtf8;
  GarblingChain chain;
  P page = P::kUtf8;
};

std::optional<PlainReading> ReadPlainly(std::string_view text, const LineScan& kinds) {
  using Kind = PlainReading::Kind;
  if (kinds.eight_bit_lines == 0) {
    if (std::optional<GarblingChain> chain = PlainUtf8Garbling(text))
      return PlainReading{Kind::kUtf8, std::move(*chain)};
  } else if (kinds.utf8_lines == 0) {
    if (const std::optional<P> page = PlainEightBitPage(text))
      return PlainReading{Kind::kPage, {}, *page};
  } else if (const std::optional<P> page = PlainPageByKind(text)) {
    return PlainReading{Kind::kByKind, {}, *page};
  }
  return std::nullopt;
}

FileVerdict PlainVerdict(const PlainReading& reading, const LineScan& kinds) {
  FileVerdict verdict;
  if (reading.kind == PlainReading::Kind::kByKind) {
    verdict.kind = FileVerdict::Kind::kMixed;
    verdict.lines_to_fix = kinds.eight_bit_lines;
  } else if (reading.chain.empty()) {
    verdict.kind = FileVerdict::Kind::kOk;
    verdict.page = PageName(reading.page);
  } else {
    verdict.kind = FileVerdict::Kind::kFix;
    verdict.chain = ChainText(reading.chain);
  }
  return verdict;
}

std::string Utf8OfPage(std::string_view bytes, P page) {
  return U32ToUtf8(*DecodeText(bytes, page));
}

// The text, in UTF-8, of a plain reading.
std::string PlainText(std::string_view bytes, const PlainReading& reading) {
  switch (reading.kind) {
    case PlainReading::Kind::kPage:
      return Utf8OfPage(bytes, reading.page);
    case PlainReading::Kind::kByKind: {
      std::string text;
      ForEachLine(bytes, [&](std::string_view line) {
        if (ScanOf(line).eight_bit_lines)
          text += Utf8OfPage(line, reading.page);
        else
          text += line;
      });
      return text;
    }
    case PlainReading::Kind::kUtf8:
      break;
  }
  // Each step's text encoded in the page it was read as gives back the
  // bytes read: the UTF-8 of the text before, or the bytes of a page.
  std::string text(bytes);
  for (const GarblingStep& step : reading.chain) {
    text = step.read == P::kWin1251 ? Utf8ToWin(text) : *EncodeUtf8In(text, step.read);
    if (step.written != P::kUtf8) text = Utf8OfPage(text, step.written);
  }
  return text;
}

// The verdict on the judged part alone; `head` counts its lines.
FileVerdict JudgeHead(std::string_view part, const Repair& r, const LineScan& head) {
  FileVerdict verdict;
  // Lines of UTF-8 and of a page, unless the repair read them all in the
  // page (a short line of it may happen to be well-formed UTF-8).
  const bool byte_mixed =
      head.utf8_lines > 0 && head.eight_bit_lines > 0 && r.source_page == P::kUtf8;
  size_t repaired = 0;
  for (const AppliedChain& chain : r.chains) repaired += chain.lines;
  if (byte_mixed || r.chains.size() > 1 ||
      (r.chains.size() == 1 && repaired < head.NonAsciiLines())) {
    verdict.kind = FileVerdict::Kind::kMixed;
    verdict.lines_to_fix =
        std::min(repaired + (byte_mixed ? head.eight_bit_lines : 0), head.NonAsciiLines());
    return verdict;
  }
  if (r.chains.size() == 1) {
    verdict.kind = FileVerdict::Kind::kFix;
    verdict.chain = ChainText(r.chains.front().steps);
    return verdict;
  }
  verdict.kind = FileVerdict::Kind::kOk;
  const std::optional<std::string> win =
      r.source_page == P::kUtf8 && r.changed ? EncodeUtf8In(part, P::kWin1251) : std::nullopt;
  if (win) {
    // Repaired through recoding commands, which the repair names in words.
    JudgeRecodingChain(*win, verdict, true);
  } else if (r.source_page == P::kUtf8) {
    verdict.page = "utf-8";
  } else if (r.source_page != P::kWin1251) {
    verdict.page = PageName(r.source_page);
  } else if (r.changed) {
    JudgeRecodingChain(part, verdict);
  } else if (HasLettersToJudge(part)) {
    verdict.page = "windows-1251";
  } else {
    verdict.kind = FileVerdict::Kind::kUnknown;
  }
  return verdict;
}

}  // namespace

struct FileJudge::State {
  std::string head;  // the first kSampleBytes after a byte-order mark
  LineScan scan;
  size_t fed = 0;  // bytes after a byte-order mark
  bool started = false;
  bool byte_order_mark = false;
};

FileJudge::FileJudge() : state_(std::make_unique<State>()) {}
FileJudge::~FileJudge() = default;

void FileJudge::Feed(std::string_view piece) {
  State& s = *state_;
  if (!s.started) {
    s.started = true;
    s.byte_order_mark = piece.starts_with(kByteOrderMark);
    if (s.byte_order_mark) piece.remove_prefix(kByteOrderMark.size());
  }
  if (s.head.size() < kSampleBytes) s.head.append(piece.substr(0, kSampleBytes - s.head.size()));
  s.fed += piece.size();
  s.scan.Scan(piece);
}

FileVerdict FileJudge::Finish() {
  State& s = *state_;
  s.scan.End();
  FileVerdict verdict;
  if (s.scan.nul || BinaryControls(s.head) * 32 > s.head.size()) {
    verdict.kind = FileVerdict::Kind::kBinary;
    return verdict;
  }
  if (s.scan.NonAsciiLines() == 0) {
    verdict.kind = FileVerdict::Kind::kOk;
    verdict.page = s.byte_order_mark ? "utf-8" : "ascii";
    return verdict;
  }

  s.head.resize(JudgedPart(s.head, s.fed).size());
  const bool whole = s.head.size() == s.fed;
  const LineScan head = whole ? s.scan : ScanOf(s.head);
  if (const std::optional<PlainReading> plain = ReadPlainly(s.head, head)) {
    verdict = PlainVerdict(*plain, head);
  } else {
    auto detail = std::make_shared<VerdictDetail>();
    detail->head = std::move(s.head);
    detail->repair = RepairBytes(detail->head);
    verdict = JudgeHead(detail->head, detail->repair, head);
    verdict.detail = std::move(detail);
  }
  verdict.lines = s.scan.lines;
  if (whole) return verdict;

  // The rest: lines of the head's kind go as the head's went, lines of the
  // other kind (8-bit lines after a UTF-8 head, or the other way round)
  // need a repair whatever the head was.
  const bool head_utf8 = head.utf8_lines > 0;
  const size_t rest_utf8 = s.scan.utf8_lines - std::min(s.scan.utf8_lines, head.utf8_lines);
  const size_t rest_eight_bit =
      s.scan.eight_bit_lines - std::min(s.scan.eight_bit_lines, head.eight_bit_lines);
  const size_t same = head_utf8 ? rest_utf8 : rest_eight_bit;
  const size_t other = head_utf8 ? rest_eight_bit : rest_utf8;
  if (verdict.kind == FileVerdict::Kind::kMixed) {
    const size_t head_lines = std::max<size_t>(head.NonAsciiLines(), 1);
    verdict.lines_to_fix += same * verdict.lines_to_fix / head_lines + other;
  } else if (other > 0 && verdict.kind != FileVerdict::Kind::kUnknown) {
    const size_t to_fix = verdict.kind == FileVerdict::Kind::kFix ? head.NonAsciiLines() + same : 0;
    verdict.kind = FileVerdict::Kind::kMixed;
    verdict.lines_to_fix = to_fix + other;
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

class PartRepair : public LineRepair {
 public:
  PartRepair(std::shared_ptr<const VerdictDetail> detail, TargetPage target, bool lossy)
      : detail_(std::move(detail)), target_(target), lossy_(lossy) {}

  bool Feed(std::string_view piece, std::string& out) override {
    if (!started_) {
      started_ = true;
      if (piece.starts_with(kByteOrderMark)) {
        piece.remove_prefix(kByteOrderMark.size());
        if (target_ == TargetPage::kUtf8) out += kByteOrderMark;
      }
    }
    held_.append(piece);
    size_t done = 0;
    while (held_.size() - done >= kSampleBytes) {
      const std::string_view rest = std::string_view(held_).substr(done);
      const std::string_view part = rest.substr(0, RepairPartEnd(rest.substr(0, kSampleBytes)));
      if (!Process(part, out)) return false;
      done += part.size();
    }
    held_.erase(0, done);
    return true;
  }

  bool Finish(std::string& out) override {
    const bool done = held_.empty() || Process(held_, out);
    held_.clear();
    return done;
  }

 private:
  bool Process(std::string_view part, std::string& out) {
    // The first part is the head the verdict was made on.
    const bool head = first_ && detail_ && part == detail_->head;
    first_ = false;
    std::string plain_text;
    Repair own;
    std::string_view text;
    bool plain_1251 = false;  // bytes that are right Windows-1251 as they are
    if (const std::optional<PlainReading> plain =
            head ? std::nullopt : ReadPlainly(part, ScanOf(part))) {
      plain_text = PlainText(part, *plain);
      text = plain_text;
      plain_1251 = plain->kind == PlainReading::Kind::kPage && plain->page == P::kWin1251;
    } else {
      if (!head) own = RepairBytes(part);
      const Repair& r = head ? detail_->repair : own;
      text = r.text;
      plain_1251 = !r.changed && r.source_page == P::kWin1251;
    }
    if (target_ == TargetPage::kUtf8) {
      out += text;
      return true;
    }
    if (plain_1251) {
      out += part;
      return true;
    }
    const std::optional<std::u32string> chars = Utf8ToU32(text);
    for (const char32_t c : *chars) {
      const int b = EncodeChar(P::kWin1251, c);
      if (b < 0 && !lossy_) return false;
      out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return true;
  }

  std::shared_ptr<const VerdictDetail> detail_;
  TargetPage target_;
  bool lossy_;
  bool started_ = false;
  bool first_ = true;
  std::string held_;  // bytes of the part being gathered
};

}  // namespace

std::unique_ptr<LineRepair> MakeLineRepair(const FileVerdict& verdict, TargetPage target,
                                           bool lossy) {
  return std::make_unique<PartRepair>(verdict.detail, target, lossy);
}

}  // namespace lirvane
