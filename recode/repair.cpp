#include "recode/repair.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <type_traits>

#include "recode/cp1251_unicode.h"
#include "recode/detect_describe.h"
#include "recode/detect_recoding.h"
#include "recode/reading_cost.h"
#include "recode/recode.h"
#include "recode/utf8.h"

namespace lirvane {
namespace {

using P = CodePageId;
constexpr int kBit = ReadingScorer::kCostPerBit;
constexpr int kMaxSteps = 3;

// The pages a text may have been read as, and written in. A Western page
// is only ever the reader: what a Russian text turns into there.
constexpr P kReadPages[] = {P::kWin1251,     P::kKoi8R,   P::kDos866, P::kIso8859_5,
                            P::kMacCyrillic, P::kWin1252, P::kLatin1};
constexpr P kWrittenPages[] = {P::kUtf8,   P::kWin1251,   P::kKoi8R,
                               P::kDos866, P::kIso8859_5, P::kMacCyrillic};

// 8-bit steps after a chain's first: those the recoding commands undo
// (between Windows-1251 and another Russian page) and the Western readings
// of the two commonest Russian pages.
constexpr GarblingStep kLaterSteps[] = {
    {P::kKoi8R, P::kWin1251},       {P::kDos866, P::kWin1251},      {P::kIso8859_5, P::kWin1251},
    {P::kMacCyrillic, P::kWin1251}, {P::kWin1251, P::kKoi8R},       {P::kWin1251, P::kDos866},
    {P::kWin1251, P::kIso8859_5},   {P::kWin1251, P::kMacCyrillic}, {P::kWin1251, P::kWin1252},
    {P::kWin1251, P::kLatin1},      {P::kKoi8R, P::kWin1252},       {P::kKoi8R, P::kLatin1},
};

bool HasUtf8Step(const GarblingChain& steps) {
  return std::any_of(steps.begin(), steps.end(),
                     [](const GarblingStep& s) { return s.written == P::kUtf8; });
}

// What a step costs before the text speaks for it, in bits: how rarely it
// happens. UTF-8 read as Windows-1251 is today's commonest garbling.
int StepPriorBits(GarblingStep s) {
  if (s.written == P::kUtf8) {
    switch (s.read) {
      case P::kWin1251:
        return 3;
      case P::kWin1252:
        return 5;
      case P::kLatin1:
        return 6;
      case P::kKoi8R:
        return 7;
      case P::kDos866:
        return 8;
      default:
        return 10;
    }
  }
  // Mac Cyrillic shares Windows-1251's small letters: read as each other,
  // a text changes only in its capitals, я and ё, which a short correct
  // text may seem to gain by. And Mac texts are rare.
  if (s.written == P::kMacCyrillic || s.read == P::kMacCyrillic) return 16;
  if (s.read == P::kWin1251) return 6;
  if (s.read == P::kWin1252 || s.read == P::kLatin1)
    return s.written == P::kWin1251 ? 6 : s.written == P::kKoi8R ? 8 : 10;
  if (s.written == P::kWin1251) return 8;
  return 11;
}

// Each further step costs more, a step straight back most: it undoes
// nothing a user did, and mostly turns symbols into letters.
int ChainPriorBits(const GarblingChain& chain) {
  int bits = 0;
  for (const GarblingStep& s : chain) bits += StepPriorBits(s);
  if (chain.size() >= 2) bits += 14;
  if (chain.size() >= 3) bits += 10;
  for (size_t i = 1; i < chain.size(); ++i)
    if (chain[i].written == chain[i - 1].read && chain[i].read == chain[i - 1].written) bits += 24;
  return bits;
}

// 8-bit steps beyond the first gain a little per letter by turning symbols
// and capitals into letters; they pay one bit per this many letters. A
// UTF-8 step proves itself by decoding at all.
constexpr int64_t kLettersPerExtraStepBit = 20;

int64_t PerLetterCost(const GarblingChain& chain, size_t letters) {
  int eight_bit = 0;
  for (const GarblingStep& s : chain) eight_bit += s.written != P::kUtf8;
  return eight_bit > 1 ? int64_t(letters) * (eight_bit - 1) * kBit / kLettersPerExtraStepBit : 0;
}

// A Latin letter with a diacritic costs this many bits more than a plain
// one: Western text has a few, a Russian text read as a Western page has
// nothing else.
constexpr int kAccentBits = 16;

bool IsAccentedLatin(char32_t c) { return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7; }

// A character Windows-1251 lacks that is no Latin letter (box drawing,
// math, other scripts, emoji) costs this many bits: a reading that makes
// them is rarely right. A text holding them as they are pays it too, but
// no chain can undo such a text, so the text stays.
constexpr int kStrangerBits = 8;

int ExtraBits(char32_t c) {
  if (c < 0x80 || (c >= 0x410 && c <= 0x44F)) return 0;
  if (IsAccentedLatin(c)) return kAccentBits;
  return UnicodeToCp1251(c) < 0 ? kStrangerBits : 0;
}

int64_t AccentCost(std::u32string_view text) {
  int64_t bits = 0;
  for (char32_t c : text) bits += ExtraBits(c);
  return bits * kBit;
}

// How a character is weighed: by its Windows-1251 byte; a Latin letter
// with a diacritic as a Latin letter (so "café" reads as a Latin word, not
// as a Russian letter in Latin company); anything else as a byte Russian
// text never holds.
uint8_t WeighAs(char32_t c) {
  if (c < 0x80) return static_cast<uint8_t>(c);
  if (c >= 0x410 && c <= 0x44F) return static_cast<uint8_t>(c - 0x410 + 0xC0);
  const int b = UnicodeToCp1251(c);
  if (b >= 0) return static_cast<uint8_t>(b);
  if (IsAccentedLatin(c)) return c <= 0xDE ? 'E' : 'e';
  return 0x98;
}

MeaningTable IdentityMeaning() {
  MeaningTable t;
  for (int b = 0; b < 256; ++b) t[b] = static_cast<uint8_t>(b);
  return t;
}

bool IsCyrillicLetter(char32_t c) { return (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451; }

// Calls `f` with each character of well-formed UTF-8 text.
template <typename F>
void ForEachChar(std::string_view utf8, F&& f) {
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    if (b < 0x80) {
      f(char32_t{b});
      ++i;
    } else if (b < 0xE0) {
      f(char32_t(b & 0x1F) << 6 | (static_cast<uint8_t>(utf8[i + 1]) & 0x3F));
      i += 2;
    } else {
      char32_t c = 0;
      i += DecodeUtf8(utf8, i, c);
      f(c);
    }
  }
}

// A text the candidates read: bytes and the scorer counting them once.
struct Basis {
  std::string bytes;
  std::unique_ptr<ReadingScorer> scorer;
  std::vector<uint8_t> present;  // distinct bytes above 0x7F
  std::array<uint32_t, 256> count{};

  explicit Basis(std::string b) : bytes(std::move(b)) {
    scorer = std::make_unique<ReadingScorer>(bytes);
    std::array<bool, 256> seen{};
    for (char ch : bytes) {
      const auto x = static_cast<uint8_t>(ch);
      ++count[x];
      if (x >= 0x80 && !seen[x]) {
        seen[x] = true;
        present.push_back(x);
      }
    }
  }
};

std::string WeighedBytes(std::u32string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(WeighAs(text[i]));
  return out;
}

struct Candidate {
  GarblingChain steps;
  const Basis* basis;
  MeaningTable meaning;
  int64_t cost;  // prior included
  size_t letters;
};

// Every chain of up to kMaxSteps steps that can undo the text, scored.
class Search {
 public:
  std::deque<Basis> bases;
  std::vector<Candidate> candidates;

  void AddText(std::u32string_view text, const GarblingChain& prefix) {
    bases.emplace_back(WeighedBytes(text));
    Add(prefix, bases.back(), IdentityMeaning(), AccentCost(text));
  }

  void Explore(std::u32string_view text, const GarblingChain& prefix, int steps_left) {
    for (P read : kReadPages) {
      auto bytes = EncodeText(text, read);
      if (!bytes) continue;
      if (std::all_of(bytes->begin(), bytes->end(), [](char c) { return uint8_t(c) < 0x80; }))
        continue;
      bases.emplace_back(std::move(*bytes));
      ExploreBytes(bases.back(), read, prefix, steps_left);
    }
  }

 private:
  // Bytes above 0x7F as they stand after some 8-bit steps: the byte, in
  // `page`, that each original byte has become.
  struct State {
    GarblingChain steps;
    std::array<uint8_t, 256> now;
    P page;
  };

  void Add(const GarblingChain& steps, const Basis& basis, const MeaningTable& meaning,
           int64_t extra) {
    const ReadingScorer::Result r = basis.scorer->Cost(meaning);
    candidates.push_back(
        {steps, &basis, meaning,
         extra + r.cost + ChainPriorBits(steps) * kBit + PerLetterCost(steps, r.letters),
         r.letters});
  }

  // The bytes turned by a state and then encoded in `read`, if every
  // character has a byte there.
  static std::optional<std::array<uint8_t, 256>> Reencode(const Basis& basis, const State& s,
                                                          P read) {
    std::array<uint8_t, 256> next = s.now;
    for (uint8_t b : basis.present) {
      const int e = EncodeChar(read, DecodeByte(s.page, s.now[b]));
      if (e < 0) return std::nullopt;
      next[b] = static_cast<uint8_t>(e);
    }
    return next;
  }

  void TryUtf8(const Basis& basis, const std::array<uint8_t, 256>& map, const GarblingChain& steps,
               int steps_left) {
    std::string bytes(basis.bytes);
    for (char& c : bytes) c = static_cast<char>(map[static_cast<uint8_t>(c)]);
    const auto text = Utf8ToU32(bytes);
    if (!text) return;
    AddText(*text, steps);
    if (steps_left > 0) Explore(*text, steps, steps_left);
  }

  void ExploreBytes(const Basis& basis, P read, const GarblingChain& prefix, int steps_left) {
    std::array<uint8_t, 256> identity;
    for (int b = 0; b < 256; ++b) identity[b] = static_cast<uint8_t>(b);
    std::vector<State> level;
    for (P written : kWrittenPages) {
      if (written == read) continue;
      GarblingChain steps = prefix;
      steps.push_back({written, read});
      if (written == P::kUtf8)
        TryUtf8(basis, identity, steps, steps_left - 1);
      else
        level.push_back({steps, identity, written});
    }
    std::set<std::u32string> seen;
    for (int depth = 1; depth <= steps_left && !level.empty(); ++depth) {
      std::vector<State> next;
      for (const State& s : level) {
        std::u32string key;
        MeaningTable meaning = IdentityMeaning();
        int64_t accents = 0;
        for (uint8_t b : basis.present) {
          const char32_t c = DecodeByte(s.page, s.now[b]);
          key.push_back(c);
          meaning[b] = WeighAs(c);
          accents += int64_t{basis.count[b]} * ExtraBits(c);
        }
        if (!seen.insert(key).second) continue;
        Add(s.steps, basis, meaning, accents * kBit);
        if (depth == steps_left) continue;
        for (P read2 : kReadPages) {
          if (read2 == s.page) continue;
          const auto encoded = Reencode(basis, s, read2);
          if (!encoded) continue;
          GarblingChain steps = s.steps;
          steps.push_back({P::kUtf8, read2});
          TryUtf8(basis, *encoded, steps, steps_left - depth - 1);
        }
        for (const GarblingStep& step : kLaterSteps) {
          if (step.read == s.page) {
            // Encoding in the page the text is already in changes nothing.
            State n{s.steps, s.now, step.written};
            n.steps.push_back(step);
            next.push_back(std::move(n));
            continue;
          }
          const auto encoded = Reencode(basis, s, step.read);
          if (!encoded) continue;
          State n{s.steps, *encoded, step.written};
          n.steps.push_back(step);
          next.push_back(std::move(n));
        }
      }
      level = std::move(next);
    }
  }
};

// Readings weighed again by trigrams: at most this many, within this many
// bits of the best.
constexpr size_t kFinalists = 24;
constexpr int kFinalistBits = 80;
// A repair must read this much better than the text as it stands.
constexpr int kMarginBits = 16;
// ...and more when no UTF-8 step proves it: an 8-bit reading of a text
// always succeeds.
constexpr int kEightBitMarginBits = 24;
// ...and leave at least this many Cyrillic letters, of this many kinds: a
// letter repeated, or a few words, tell nothing.
constexpr size_t kMinLetters = 5;
constexpr size_t kMinKinds = 4;

struct Verdict {
  GarblingChain steps;  // empty: leave the text
  bool judged = false;  // some reading had letters enough
  int64_t margin = 0;   // bits by which the repair beats the text as is
};

size_t Letters(std::u32string_view text) {
  return std::count_if(text.begin(), text.end(), IsCyrillicLetter);
}

template <typename Text>
size_t LetterKinds(const Text& text) {
  std::array<bool, 64> kinds{};
  size_t n = 0;
  const auto count = [&](char32_t c) {
    if (!IsCyrillicLetter(c)) return;
    const int k = c == 0x401 || c == 0x451 ? 5 : (c - 0x410) % 32;
    if (!kinds[k]) kinds[k] = true, ++n;
  };
  if constexpr (std::is_convertible_v<const Text&, std::string_view>)
    ForEachChar(text, count);
  else
    for (char32_t c : text) count(c);
  return n;
}

// Whether most Cyrillic letters of the text stand in words: beside another
// letter. A reading that scatters letters among symbols ("–Я—А–Є–≤–µ—В", UTF-8
// read as Windows-1252 that lost some characters on the way, taken for Mac
// Cyrillic) is no repair, however badly the text reads as it stands.
bool ReadsAsWords(std::u32string_view text) {
  size_t letters = 0, in_words = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsCyrillicLetter(text[i])) continue;
    ++letters;
    in_words += (i > 0 && IsCyrillicLetter(text[i - 1])) ||
                (i + 1 < text.size() && IsCyrillicLetter(text[i + 1]));
  }
  return in_words * 2 >= letters;
}

Verdict Decide(std::u32string_view sample) {
  Search search;
  search.AddText(sample, {});
  search.Explore(sample, {}, kMaxSteps);
  Verdict v;
  std::vector<Candidate>& all = search.candidates;
  size_t most_letters = 0;
  for (const Candidate& c : all) most_letters = std::max(most_letters, c.letters);
  if (most_letters < kMinLetters) return v;
  v.judged = true;
  Candidate identity = all.front();
  std::sort(all.begin(), all.end(),
            [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
  std::vector<Candidate*> finalists;
  for (Candidate& c : all) {
    if (finalists.size() == kFinalists || c.cost - all.front().cost > kFinalistBits * kBit) break;
    finalists.push_back(&c);
  }
  identity.cost += identity.basis->scorer->TrigramCost(identity.meaning);
  const Candidate* best = &identity;
  for (Candidate* f : finalists) {
    if (f->steps.empty()) continue;
    f->cost += f->basis->scorer->TrigramCost(f->meaning);
    if (f->cost < best->cost) best = f;
  }
  if (best->steps.empty() || best->letters < kMinLetters) return v;
  v.margin = (identity.cost - best->cost) / kBit;
  if (v.margin < (HasUtf8Step(best->steps) ? kMarginBits : kEightBitMarginBits)) return v;
  std::u32string result(sample);
  if (!UndoChain(result, best->steps) || LetterKinds(result) < kMinKinds) return v;
  // Undoing 8-bit readings gives Russian letters back, never takes them:
  // a reading that turns letters into symbols (я into € for Mac Cyrillic)
  // only saves what the letters cost.
  if (!HasUtf8Step(best->steps) && Letters(result) < Letters(sample)) return v;
  if (!ReadsAsWords(result)) return v;
  v.steps = best->steps;
  return v;
}

// U+FFFD in the text. Every page is ASCII where ASCII is, so no step
// turns another character into '?': a U+FFFD is the one mark of a loss a
// step can add.
size_t CountReplacementChars(std::string_view utf8) {
  size_t marks = 0;
  for (size_t at = utf8.find("\uFFFD"); at != std::string_view::npos;
       at = utf8.find("\uFFFD", at + 3))
    ++marks;
  return marks;
}

// The chain's result for a line (UTF-8), if it undoes it and adds no
// U+FFFD. Garbling the result again gives the line back exactly: each step
// is undone one to one (code_pages.h).
std::optional<std::string> Undo(std::string_view line, const GarblingChain& steps) {
  if (steps.empty()) return std::string(line);
  std::optional<std::string> result = UndoStepUtf8(line, steps.front());
  for (size_t i = 1; i < steps.size() && result; ++i) result = UndoStepUtf8(*result, steps[i]);
  if (!result || CountReplacementChars(*result) > CountReplacementChars(line)) return std::nullopt;
  return result;
}

// Cost per character above 0x7F beyond which a line left as it is reads as
// nonsense and gets a decision of its own.
constexpr int64_t kGarbledBitsPerChar = 14;
// The other Russian pages read as Windows-1251, as lines may be. Not Mac
// Cyrillic: read so, a Windows-1251 line differs only in some capitals,
// which a stray capital in a Latin word (a typo) can make look better.
const GarblingChain kPlainReadings[] = {
    {{P::kKoi8R, P::kWin1251}},
    {{P::kDos866, P::kWin1251}},
    {{P::kIso8859_5, P::kWin1251}},
};

// ...and must read this much better to be taken for one.
constexpr int kPlainLineMarginBits = 48;

// A line with fewer characters above 0x7F than this follows the whole.
constexpr size_t kLineEvidence = 8;
// A line's own evidence must beat the whole text's chain by this much.
constexpr int kLineMarginBits = 12;

// Whether a line holds characters Russian text seldom has: any but the
// Cyrillic letters, ASCII and common typography. Garbled text nearly always
// does; a line without them gets a decision of its own only when it reads
// as plain nonsense.
bool IsStranger(char32_t c) {
  if (c < 0x80 || (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451) return false;
  switch (c) {
    case U'«':
    case U'»':
    case U'—':
    case U'–':
    case U'…':
    case U'№':
    case U'“':
    case U'”':
    case U'„':
    case U'’':
    case U'\u00A0':
    case U'°':
    case U'•':
    case U'©':
      return false;
  }
  return true;
}

bool HasRussianLetter(std::string_view line) {
  bool any = false;
  ForEachChar(line, [&](char32_t c) { any = any || IsCyrillicLetter(c); });
  return any;
}

// Whether every character beyond ASCII is a Russian letter.
bool OnlyRussianLetters(std::u32string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char32_t c) { return c < 0x80 || IsCyrillicLetter(c); });
}

bool HasStrangers(std::string_view line) {
  bool any = false;
  ForEachChar(line, [&](char32_t c) { any = any || IsStranger(c); });
  return any;
}

// The line's cost as it stands, and how many of its characters weigh as a
// byte above 0x7F.
int64_t LineCost(std::string_view line, size_t* high = nullptr) {
  // WeighAs and ExtraBits looked up for the characters of Latin and
  // Cyrillic text.
  constexpr char32_t kDirect = 0x500;
  struct Weights {
    std::array<uint8_t, kDirect> byte;
    std::array<uint8_t, kDirect> extra;
  };
  static const Weights weights = [] {
    Weights w;
    for (char32_t c = 0; c < kDirect; ++c) {
      w.byte[c] = WeighAs(c);
      w.extra[c] = static_cast<uint8_t>(ExtraBits(c));
    }
    return w;
  }();
  thread_local std::string bytes;
  bytes.resize(line.size());
  char* const out = bytes.data();
  size_t n = 0, above = 0;
  int64_t extra = 0;
  const auto* const in = reinterpret_cast<const uint8_t*>(line.data());
  for (size_t i = 0; i < line.size();) {
    char32_t c = in[i];
    if (c < 0x80) {
      ++i;
    } else if (c < 0xE0) {
      c = (c & 0x1F) << 6 | (in[i + 1] & 0x3F);
      i += 2;
    } else {
      i += DecodeUtf8(line, i, c);
    }
    uint8_t b;
    if (c < kDirect) {
      b = weights.byte[c];
      extra += weights.extra[c];
    } else {
      b = WeighAs(c);
      extra += ExtraBits(c);
    }
    out[n++] = static_cast<char>(b);
    above += b >= 0x80;
  }
  if (high) *high = above;
  return ReadingScorer::LinearCost(std::string_view(bytes).substr(0, n)) + extra * kBit;
}

// Lines that are not plain ASCII, up to this many characters, decide for
// the whole text.
constexpr size_t kSampleChars = 32 * 1024;

struct Outcome {
  std::string text;  // UTF-8, when changed
  bool changed = false;
  std::vector<AppliedChain> chains;
  bool judged = false;
  bool refused = false;  // a repair was found but would not undo losslessly
  // When nothing was judged: a character no page a text is read as has,
  // so that no garbling can have made the text as it stands.
  char32_t foreign = 0;
};

// The first such character of a text that has other characters beyond
// ASCII enough to be judged without it; 0 when there is none.
char32_t FirstForeignChar(std::u32string_view text) {
  char32_t foreign = 0;
  size_t others = 0;
  for (char32_t c : text) {
    if (c < 0x80) continue;
    if (std::any_of(std::begin(kReadPages), std::end(kReadPages),
                    [c](P page) { return EncodeChar(page, c) >= 0; }))
      ++others;
    else if (!foreign)
      foreign = c;
  }
  return others >= kMinLetters ? foreign : 0;
}

void Count(std::vector<AppliedChain>& chains, const GarblingChain& steps) {
  for (AppliedChain& a : chains)
    if (a.steps == steps) {
      ++a.lines;
      return;
    }
  chains.push_back({steps, 1});
}

std::u32string Wide(std::string_view utf8) {
  std::u32string wide;
  wide.reserve(utf8.size());
  ForEachChar(utf8, [&](char32_t c) { wide.push_back(c); });
  return wide;
}

// Repaired lines, kept apart from the many that need nothing.
class LineResults {
 public:
  explicit LineResults(size_t lines) : slot_(lines, 0) {}
  bool Has(size_t i) const { return slot_[i] != 0; }
  const std::string& At(size_t i) const { return texts_[slot_[i] - 1]; }
  // False, and nothing kept, for no text.
  bool Set(size_t i, std::optional<std::string> text) {
    if (!text) return false;
    if (Has(i)) {
      texts_[slot_[i] - 1] = std::move(*text);
    } else {
      texts_.push_back(std::move(*text));
      slot_[i] = texts_.size();
    }
    return true;
  }
  void Drop(size_t i) { slot_[i] = 0; }

 private:
  std::vector<size_t> slot_;  // 1 + index into texts_, or 0
  std::deque<std::string> texts_;
};

// The text is well-formed UTF-8. Most lines of most texts need nothing:
// they are weighed once as they stand, on their own bytes, and copied.
Outcome RepairLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  const size_t n = lines.size();
  std::vector<bool> ascii(n);
  size_t non_ascii = 0;
  for (size_t i = 0; i < n; ++i) non_ascii += !(ascii[i] = IsAscii(lines[i]));
  Outcome out;
  if (non_ascii == 0) return out;
  std::u32string sample;
  for (size_t i = 0; i < n && sample.size() < kSampleChars; ++i) {
    if (ascii[i]) continue;
    ForEachChar(lines[i], [&](char32_t c) { sample.push_back(c); });
    sample.push_back(U'\n');
  }
  const Verdict whole = Decide(sample);
  const bool proves_itself = HasUtf8Step(whole.steps);
  if (proves_itself) {
    // Steps never reach across a line break, so a chain with a UTF-8 step
    // that undoes the whole text undoes each line, as each would have it.
    if (auto repaired = Undo(text, whole.steps)) {
      out.judged = true;
      out.changed = *repaired != text;
      out.text = std::move(*repaired);
      if (out.changed) out.chains.push_back({whole.steps, non_ascii});
      return out;
    }
  }
  out.judged = whole.judged;
  if (!whole.judged) out.foreign = FirstForeignChar(sample);
  // First the lines with evidence enough, each on its own and against the
  // whole; then the others, which go as their neighbours went.
  std::vector<const GarblingChain*> chain(n, nullptr);
  LineResults result(n);
  std::vector<bool> evidence(n, false);
  std::deque<GarblingChain> own_steps;
  bool any_evidence = false;
  for (size_t i = 0; i < n; ++i) {
    const std::string_view line = lines[i];
    if (ascii[i]) continue;
    if (proves_itself) {
      // Bytes that decode as UTF-8 by chance are rare: a chain with a
      // UTF-8 step that undoes a line is evidence enough.
      if (result.Set(i, Undo(line, whole.steps))) {
        chain[i] = &whole.steps;
        evidence[i] = any_evidence = true;
        continue;
      }
    }
    size_t high = 0;
    const int64_t as_is = LineCost(line, &high);
    if (high < kLineEvidence) continue;
    evidence[i] = any_evidence = true;
    int64_t chosen_cost = as_is;
    // A UTF-8 chain an earlier line has shown, if it undoes this one.
    for (const GarblingChain& c : own_steps)
      if (!result.Has(i) && HasUtf8Step(c) && result.Set(i, Undo(line, c))) chain[i] = &c;
    if (result.Has(i)) continue;
    if (!whole.steps.empty()) {
      if (auto repaired = Undo(line, whole.steps)) {
        const int64_t cost = LineCost(*repaired);
        if (proves_itself || cost + kLineMarginBits * kBit < as_is) {
          result.Set(i, std::move(repaired));
          chosen_cost = cost;
          chain[i] = &whole.steps;
        }
      }
    }
    const int64_t garbled = int64_t(high) * kGarbledBitsPerChar * kBit;
    if (!chain[i] && chosen_cost > garbled * 3 / 4 && !HasStrangers(line)) {
      // Russian letters only, reading poorly: a line in another Russian
      // page read as Windows-1251 looks just so (capitals where small
      // letters belong). The plain readings are cheap to try.
      for (const GarblingChain& plain : kPlainReadings) {
        auto repaired = Undo(line, plain);
        if (!repaired || LetterKinds(*repaired) < kMinKinds) continue;
        const int64_t cost = LineCost(*repaired) + ChainPriorBits(plain) * kBit;
        if (cost + kPlainLineMarginBits * kBit < chosen_cost) {
          result.Set(i, std::move(repaired));
          chosen_cost = cost;
          chain[i] = &plain;
        }
      }
    }
    if (chosen_cost > garbled * 3 / 2 || (chosen_cost > garbled && HasStrangers(line))) {
      const Verdict own = Decide(Wide(line));
      out.judged = out.judged || own.judged;
      if (!own.steps.empty()) {
        if (auto repaired = Undo(line, own.steps)) {
          if (LineCost(*repaired) + kLineMarginBits * kBit < chosen_cost) {
            result.Set(i, std::move(repaired));
            own_steps.push_back(own.steps);
            chain[i] = &own_steps.back();
          }
        } else {
          out.refused = true;
        }
      }
    }
  }
  // Chains with a UTF-8 step the text has shown.
  std::vector<const GarblingChain*> utf8_chains;
  if (proves_itself) utf8_chains.push_back(&whole.steps);
  for (const GarblingChain& c : own_steps)
    if (HasUtf8Step(c)) utf8_chains.push_back(&c);
  // The chain of the nearest line with evidence before, else after.
  std::vector<const GarblingChain*> near(n, any_evidence ? nullptr : &whole.steps);
  if (any_evidence) {
    const GarblingChain* before = nullptr;
    bool seen = false;
    for (size_t i = 0; i < n; ++i) {
      if (evidence[i])
        before = chain[i], seen = true;
      else if (seen)
        near[i] = before;
    }
    const GarblingChain* after = nullptr;
    seen = false;
    for (size_t i = n; i-- > 0;) {
      if (evidence[i])
        after = chain[i], seen = true;
      else if (!near[i] && seen && !before)
        near[i] = after;
    }
    // Lines before the first with evidence take the first one's chain.
    for (size_t i = 0; i < n && !evidence[i]; ++i) near[i] = after;
  }
  for (size_t i = 0; i < n; ++i) {
    const std::string_view line = lines[i];
    if (!evidence[i] && !ascii[i]) {
      for (const GarblingChain* c : utf8_chains)
        if (!result.Has(i) && result.Set(i, Undo(line, *c))) chain[i] = c;
      if (!result.Has(i) && near[i] && !near[i]->empty() && result.Set(i, Undo(line, *near[i])))
        chain[i] = near[i];
    }
    if (result.Has(i) && (!chain[i] || result.At(i) == line)) result.Drop(i);
    if (result.Has(i)) {
      Count(out.chains, *chain[i]);
      out.changed = true;
    }
  }
  if (!out.changed) return out;
  out.text.reserve(text.size());
  for (size_t i = 0; i < n; ++i) {
    if (i) out.text.push_back('\n');
    out.text.append(result.Has(i) ? std::string_view(result.At(i)) : lines[i]);
  }
  std::stable_sort(out.chains.begin(), out.chains.end(),
                   [](const AppliedChain& a, const AppliedChain& b) { return a.lines > b.lines; });
  return out;
}

std::string Describe(const Outcome& o, bool changed) {
  if (!o.chains.empty() && changed) {
    std::string d = "Авто: ";
    for (size_t i = 0; i < o.chains.size(); ++i) {
      if (i) d += "; ";
      d += DescribeGarbling(o.chains[i].steps);
      if (o.chains.size() > 1) d += " (строк: " + std::to_string(o.chains[i].lines) + ")";
    }
    return d;
  }
  if (o.refused) return "Авто: исправление потеряло бы знаки, текст не изменён";
  if (!o.judged && o.foreign) {
    std::string c;
    AppendUtf8(c, o.foreign);
    return "Авто: знака «" + c +
           "» нет ни в одной кодировке, через которую текст мог исказиться; текст не изменён";
  }
  if (!o.judged) return "Авто: слишком мало русских букв, чтобы судить; текст не изменён";
  return "Авто: текст читается верно или признаков искажения мало; текст не изменён";
}

// `input` is the text the repair was asked for, in UTF-8.
Repair Finish(Outcome o, std::string_view input, P source, bool decoded_changed) {
  Repair r;
  r.source_page = source;
  r.text = o.changed ? std::move(o.text) : std::string(input);
  if (!o.changed) o.chains.clear();
  r.changed = o.changed || decoded_changed;
  r.description = Describe(o, o.changed);
  r.chains = std::move(o.chains);
  return r;
}

bool IsBinary(std::string_view bytes) {
  size_t controls = 0;
  for (char ch : bytes) {
    const auto b = static_cast<uint8_t>(ch);
    if (b == 0) return true;
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f') ++controls;
  }
  return controls * 100 > bytes.size();
}

// Whether the text read as Mac Cyrillic differs from it read as
// Windows-1251 only in signs that stand alone and become capitals standing
// alone: a right text's "€ элемент" or "5 €" reads as "И элемент", "5 И",
// which is no evidence of Mac Cyrillic. A Mac text shows in я, in a
// capital that begins a word ("‘держивающие"), or in one read as a lone
// quote mark ("‚ таблице").
bool MacOnlyInLoneCapitals(std::string_view bytes) {
  // A letter in either reading, or a Latin one.
  const auto letter = [](uint8_t b) {
    const char32_t mac = DecodeByte(P::kMacCyrillic, b);
    return static_cast<unsigned>((b | 0x20) - 'a') < 26 || b >= 0xC0 || b == 0xA8 || b == 0xB8 ||
           IsCyrillicLetter(mac);
  };
  bool any = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    const char32_t mac = DecodeByte(P::kMacCyrillic, b);
    if (b < 0x80 || mac == DecodeByte(P::kWin1251, b)) continue;
    if (b >= 0xC0 || b == 0xA8 || b == 0xB8) return false;  // a letter differs: evidence
    if (mac < 0x410 || mac > 0x42F) continue;               // a sign into a sign
    // Only signs that stand alone in a text: … † ‡ € ‰ • – — ™. A lone
    // quote mark (‚ „ ‘ ’ “ ”) is a Mac capital's word: "В", "С", "У".
    static constexpr std::string_view kLoneSigns = "\x85\x86\x87\x88\x89\x95\x96\x97\x99";
    if (kLoneSigns.find(static_cast<char>(b)) == std::string_view::npos) return false;
    if ((i > 0 && letter(static_cast<uint8_t>(bytes[i - 1]))) ||
        (i + 1 < bytes.size() && letter(static_cast<uint8_t>(bytes[i + 1]))))
      return false;  // a capital in a word
    any = true;
  }
  return any;
}

// An 8-bit text: read in the page, or through the chain of recoding
// commands, the detector finds; nullopt when it finds nothing to undo.
std::optional<std::u32string> ReadEightBit(std::string_view bytes, P& page, Detection& d) {
  page = P::kWin1251;
  if (IsBinary(bytes)) return std::nullopt;
  d = DetectRecoding(bytes);
  if (!d.judged || d.chain.empty()) return std::nullopt;
  if (d.chain.length == 1 && d.chain.steps[0] == kCodeMac && MacOnlyInLoneCapitals(bytes))
    return std::nullopt;
  for (int32_t code : d.chain)
    if (code == kDetectUtf8Step) return std::nullopt;
  // Chains go through the recoding tables, which restore letters only: the
  // garbling the chain undoes must give the bytes back.
  std::optional<std::u32string> by_tables;
  const std::string recoded = ApplyRecodingChain(bytes, d.chain);
  if (ApplyRecodingChain(recoded, d.garbling) == bytes)
    by_tables = DecodeText(recoded, P::kWin1251);
  std::optional<std::u32string> text = by_tables;
  if (d.chain.length == 1 && d.chain.steps[0] > 0) {
    // A plain page. A file made by recoding the letters of a Windows-1251
    // text keeps the Windows-1251 bytes of its symbols (« — №), which the
    // page itself reads as box drawing: read so when that reads better.
    page = PageOfStepCode(d.chain.steps[0]);
    text = DecodeText(bytes, page);
    if (by_tables && *by_tables != *text) {
      const auto cost = [](std::u32string_view t) {
        return LineCost(U32ToUtf8(t.substr(0, kSampleChars)));
      };
      if (cost(*by_tables) < cost(*text)) text = by_tables;
    }
  }
  if (!text || LetterKinds(*text) < kMinKinds) return std::nullopt;
  return text;
}

}  // namespace

size_t RepairPartEnd(std::string_view text) {
  const size_t newline = text.rfind('\n');
  if (newline != std::string_view::npos) return newline + 1;
  size_t end = text.size();
  for (int back = 0; back < 3 && end > 0 && (static_cast<uint8_t>(text[end - 1]) & 0xC0) == 0x80;
       ++back)
    --end;
  if (end > 0 && static_cast<uint8_t>(text[end - 1]) >= 0xC0) --end;
  return end > 0 ? end : text.size();
}

bool UndoChain(std::u32string& text, const GarblingChain& steps) {
  for (const GarblingStep& s : steps) {
    auto next = UndoStep(text, s);
    if (!next) return false;
    text = std::move(*next);
  }
  return true;
}

bool RedoChain(std::u32string& text, const GarblingChain& steps) {
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
    auto next = DoStep(text, *it);
    if (!next) return false;
    text = std::move(*next);
  }
  return true;
}

std::string DescribeGarbling(const GarblingChain& steps) {
  std::string out;
  // Told in the order it happened: the step undone last came first.
  for (size_t i = steps.size(); i > 0;) {
    const GarblingStep s = steps[i - 1];
    size_t run = 1;
    while (i - run > 0 && steps[i - run - 1] == s) ++run;
    if (!out.empty()) out += ", затем ";
    out += std::string(CodePageName(s.written)) + ", прочитанный как " +
           std::string(CodePageName(s.read));
    if (run == 2) out += ", дважды";
    if (run == 3) out += ", трижды";
    i -= run;
  }
  return out;
}

namespace {

// The cost of a text's beginning, whole lines of it, as the repair weighs
// a sample.
int64_t SampleCost(std::string_view text) {
  return LineCost(text.substr(0, RepairPartEnd(text.substr(0, kSampleChars))));
}

size_t NonAsciiLines(std::string_view text) {
  size_t lines = 0;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    lines += !IsAscii(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// A right Windows-1251 text put through a recoding command (Win->Koi),
// then read as Windows-1251 and saved as UTF-8, reads in its letters as
// that page read as Windows-1251; but the recoding tables move letters
// only, so it keeps the Windows-1251 bytes of its symbols (« — №), and of
// ё where a page has it elsewhere. When the repair undid one chain of steps
// between Russian pages in most lines, the text is also read back through
// the recoding commands the detector finds: taken when their garbling
// gives the text back exactly and it reads better.
void ReadBackThroughTables(std::string_view utf8, Outcome& o) {
  if (!o.changed || o.chains.size() != 1) return;
  // Steps between Russian 8-bit pages only: those the recoding commands make.
  const auto russian = [](P page) {
    return page == P::kWin1251 || StepCode({page, P::kWin1251}) != 0;
  };
  for (const GarblingStep& step : o.chains[0].steps)
    if (!russian(step.written) || !russian(step.read)) return;
  const size_t non_ascii_lines = NonAsciiLines(utf8);
  // Most lines: the others may be lines the page model could not tell
  // (a Mac capital reads as a quote mark), or right ones; the whole
  // reading must read better than the repair's, line for line.
  if (o.chains[0].lines * 2 < non_ascii_lines) return;
  const std::optional<std::string> win = EncodeUtf8In(utf8, P::kWin1251);
  if (!win) return;
  const Detection d = DetectRecoding(*win);
  if (!d.judged || d.chain.empty() ||
      std::find(d.chain.begin(), d.chain.end(), kDetectUtf8Step) != d.chain.end())
    return;
  const std::string recoded = ApplyRecodingChain(*win, d.chain);
  if (ApplyRecodingChain(recoded, d.garbling) != *win) return;
  std::string text = U32ToUtf8(*DecodeText(recoded, P::kWin1251));
  if (text == o.text || SampleCost(text) >= SampleCost(o.text)) return;
  // No line it changes reads worse: a right line of a mixed text stays.
  std::string_view a = text, b = o.text;
  while (!a.empty() && !b.empty()) {
    const size_t a_end = std::min(a.find('\n'), a.size() - 1) + 1;
    const size_t b_end = std::min(b.find('\n'), b.size() - 1) + 1;
    const std::string_view a_line = a.substr(0, a_end), b_line = b.substr(0, b_end);
    if (a_line != b_line && LineCost(a_line) > LineCost(b_line)) return;
    a.remove_prefix(a_end);
    b.remove_prefix(b_end);
  }
  o.text = std::move(text);
}

// The same text when no garbling of pages explains it: a text with « — №
// cannot have been read in KOI8-R, which lacks them, yet a recoding
// command leaves them in place. Its Windows-1251 bytes are judged as an
// 8-bit file's are, and repaired through the recoding commands on the same
// terms: their garbling gives the text back exactly, and it reads better.
std::optional<Repair> RepairAsRecodedBytes(std::string_view utf8) {
  // The detector decides on the beginning: a right text costs no more.
  const std::string_view head = utf8.substr(0, RepairPartEnd(utf8.substr(0, kDetectSampleBytes)));
  const std::optional<std::string> head_win = EncodeUtf8In(head, P::kWin1251);
  if (!head_win || IsAscii(*head_win) || DetectRecoding(*head_win).chain.empty())
    return std::nullopt;
  const std::optional<std::string> win = EncodeUtf8In(utf8, P::kWin1251);
  if (!win) return std::nullopt;
  P page = P::kWin1251;
  Detection d;
  const std::optional<std::u32string> read = ReadEightBit(*win, page, d);
  // Not a plain page: a right text with a € or ‚ reads as Mac Cyrillic's
  // capitals, with too little else to tell, which the repair of lines
  // rightly left alone.
  if (!read || page != P::kWin1251) return std::nullopt;
  std::string text = U32ToUtf8(*read);
  if (text == utf8 || SampleCost(text) >= SampleCost(utf8)) return std::nullopt;
  Repair r;
  r.text = std::move(text);
  r.changed = true;
  r.description = "Авто: " + Recode(DescribeRecodingChain(d.chain), -kCodeUtf8);
  return r;
}

Repair RepairUtf8(std::string_view utf8) {
  Outcome o = RepairLines(utf8);
  if (!o.changed)
    if (std::optional<Repair> recoded = RepairAsRecodedBytes(utf8)) return std::move(*recoded);
  ReadBackThroughTables(utf8, o);
  return Finish(std::move(o), utf8, P::kUtf8, false);
}

}  // namespace

Repair RepairText(std::string_view utf8) {
  if (!IsWellFormedUtf8(utf8)) {
    Repair r;
    r.text = std::string(utf8);
    r.description = "Авто: текст не в UTF-8; не изменён";
    return r;
  }
  return RepairUtf8(utf8);
}

Repair RepairBytes(std::string_view bytes) {
  if (IsWellFormedUtf8(bytes)) return RepairUtf8(bytes);

  // Not UTF-8 as a whole: UTF-8 lines stay UTF-8 if there are any with
  // more than ASCII, the others are read in the page their bytes tell.
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= bytes.size();) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  bool some_utf8 = false;
  std::string eight_bit;
  std::vector<bool> is_utf8(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    is_utf8[i] = IsWellFormedUtf8(lines[i]);
    if (is_utf8[i] && !IsAscii(lines[i])) some_utf8 = true;
    if (!is_utf8[i]) {
      eight_bit.append(lines[i]);
      eight_bit.push_back('\n');
    }
  }
  P page = P::kWin1251;
  Detection detection;
  if (some_utf8) {
    // The page the other lines tell. A line of it may happen to be
    // well-formed UTF-8 ("тип" in DOS 866 is the bytes of "⨯"): a line whose
    // UTF-8 reading has no Russian letter but a rare sign, and whose every
    // character beyond ASCII is a Russian letter in the page, is read so.
    (void)ReadEightBit(eight_bit, page, detection);
    some_utf8 = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!is_utf8[i] || IsAscii(lines[i])) continue;
      if (HasStrangers(lines[i]) && !HasRussianLetter(lines[i]) &&
          OnlyRussianLetters(*DecodeText(lines[i], page)))
        is_utf8[i] = false;
      else
        some_utf8 = true;
    }
  }
  if (!some_utf8) {
    // An 8-bit text: read as the whole tells, then line by line, for lines
    // pieced in from another page.
    Detection detection;
    const auto read = ReadEightBit(bytes, page, detection);
    const std::u32string plain = *DecodeText(bytes, P::kWin1251);
    const std::string base = U32ToUtf8(read ? *read : plain);
    Outcome lines_outcome = IsBinary(bytes) ? Outcome{} : RepairLines(base);
    const bool by_lines = lines_outcome.changed;
    Repair r;
    r.source_page = page;
    r.changed = by_lines || (read && *read != plain);
    r.text = by_lines ? std::move(lines_outcome.text) : std::string(base);
    if (!read && !by_lines) {
      r.description = IsBinary(bytes) ? "Авто: это не текст; не изменён"
                                      : "Авто: текст уже в Windows-1251 или признаков иной "
                                        "кодировки мало; не изменён";
      return r;
    }
    r.description = "Авто: текст в " + std::string(CodePageName(page));
    if (read && page == P::kWin1251)
      r.description = "Авто: " + Recode(DescribeRecodingChain(detection.chain), -kCodeUtf8);
    if (by_lines) {
      r.chains = lines_outcome.chains;
      r.description += "; " + Describe(lines_outcome, true).substr(std::string("Авто: ").size());
    }
    return r;
  }
  // The lines that are not UTF-8, in the page their bytes tell (a chain
  // of recoding commands the detector may name is left to the repair of
  // the whole text below).
  std::string text;
  text.reserve(bytes.size() * 2);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text.push_back('\n');
    text += is_utf8[i] ? std::string(lines[i]) : U32ToUtf8(*DecodeText(lines[i], page));
  }
  Repair r = Finish(RepairLines(text), text, P::kUtf8, true);
  r.description += "; строки не в UTF-8 прочитаны как " + std::string(CodePageName(page));
  return r;
}

}  // namespace lirvane
