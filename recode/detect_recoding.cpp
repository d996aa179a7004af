#include "recode/detect_recoding.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "recode/code_pages.h"
#include "recode/cp1251_unicode.h"
#include "recode/detect_stats.h"
#include "recode/reading_cost.h"
#include "recode/recode.h"
#include "recode/recode_tables.h"
#include "recode/utf8.h"

namespace lirvane {
namespace {

using ByteTable = std::array<uint8_t, 256>;

// The eight 8-bit steps, in the order that decides between chains giving
// the same text: the plain readings into Windows-1251 first.
constexpr std::array<int32_t, 8> kSteps{8, 866, 595, 111, -8, -866, -595, -111};

// What a chain costs before the text speaks for it, in bits: a text is far
// more often in some code page than garbled, and garbled once more often
// than twice: a two-step chain must explain the text some 2^16 times better
// than a plain page does, or it merely renames a few capitals (Koi read as
// Alt then Koi differs from Koi only in Ю..О). Also breaks ties between
// chains that read a text equally well.
int PriorBits(const RecodingChain& chain) {
  constexpr int kIntoWin = 4;  // one step into Windows-1251 (or from UTF-8)
  constexpr int kFromWin = 8;  // one step out of it
  constexpr int kTwo = 20;
  constexpr int kThree = 30;
  switch (chain.length) {
    case 0:
      return 0;
    case 1:
      return chain.steps[0] > 0 ? kIntoWin : kFromWin;
    case 2:
      return kTwo;
    default:
      return kThree;
  }
}

struct Candidate {
  RecodingChain chain;
  ByteTable table;  // the whole chain's byte mapping (after UTF-8, if any)
  // What the result means, as Windows-1251 bytes: where a step reads a byte
  // its page has no Russian letter for, the recoding table leaves the byte
  // as it is (a Mac 0xCF stays the Windows-1251 П), but the reader saw the
  // page's own character (ќ). Readings are scored on this.
  ByteTable meaning;
  int prior = 0;
  bool after_utf8 = false;
};

bool IsCyrillicLetter(uint8_t b) { return b >= 0xC0 || b == 0xA8 || b == 0xB8; }

ByteTable IdentityTable() {
  ByteTable t;
  for (int b = 0; b < 256; ++b) t[b] = static_cast<uint8_t>(b);
  return t;
}

bool IsRussianLetter(char32_t c) { return (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451; }

// Windows-1251 byte of a character for scoring; 0x98, which no text uses,
// when it has none.
uint8_t ScoringByte(char32_t c) {
  const int b = UnicodeToCp1251(c);
  return b < 0 ? 0x98 : static_cast<uint8_t>(b);
}

ByteTable Then(const ByteTable& first, int32_t code);

// The last step of a chain as its reader saw it: where the table leaves a
// byte that is a Russian letter in Windows-1251 but something else in the
// page read (a Mac 0xCF, ѕ, stays П; a Mac 0xC7, «, stays З), the reading is
// weighed by the page's own character. Other bytes keep the table's:
// converters carry «, № and the like across pages that lack them as the
// bytes they were, so a Mac text's » is 0xBB, which Mac reads as ї.
ByteTable ThenMeaning(const ByteTable& first, int32_t code) {
  if (code <= 0 || !TableForCode(code)) return Then(first, code);
  const HighHalfTable& step = *TableForCode(code);
  const CodePageId page = PageOfStepCode(code);
  ByteTable t = first;
  for (uint8_t& b : t) {
    if (b < 0x80) continue;
    const char32_t c = DecodeByte(page, b);
    const uint8_t recoded = step.high[b - 0x80];
    b = !IsRussianLetter(c) && IsCyrillicLetter(recoded) ? ScoringByte(c) : recoded;
  }
  return t;
}

ByteTable Then(const ByteTable& first, int32_t code) {
  const HighHalfTable* step = TableForCode(code);
  ByteTable t = first;
  if (step)
    for (uint8_t& b : t)
      if (b >= 0x80) b = step->high[b - 0x80];
  return t;
}

// A text may be all capitals: it then reads as well as in small letters,
// for this many bits more. Counting case letter by letter would otherwise
// prefer any chain that turns a long text in capitals into small letters,
// however wrong otherwise.
constexpr int kAllCapitalsBits = 12;

// A letter of another Cyrillic alphabet (Ђ, Љ, Џ, ї...) seen fewer times
// than this in training counts as unused by Russian, and costs this many
// bits more wherever a reading puts it. Typographic signs (€, •, “) stay
// as the pairs price them: real texts use them more than manual pages do.
constexpr double kUnusedByteSeen = 8;
constexpr int kUnusedByteBits = 16;

// Each 8-bit step beyond a chain's first costs one bit per this many
// letters of the text.
constexpr int64_t kLettersPerExtraStepBit = 20;

// Case classes (detect_stats::kCaseClass) with small and capital letters
// traded, for reading a text as if it were all capitals.
int TradeCase(int case_class) {
  switch (case_class) {
    case 0:
      return 1;
    case 1:
      return 0;
    case 2:
      return 3;
    case 3:
      return 2;
  }
  return case_class;
}

// Wrong recodings, one or two, as done to a text: the table they make of
// its bytes, and the chain that plainly undoes them.
struct Garbling {
  ByteTable table;
  RecodingChain done;  // the recodings, in the order they were done
  RecodingChain undo;
  ByteTable undo_table;
};

struct Model {
  // Cost of a Windows-1251 byte pair: letter bigram plus case transition,
  // in the low half as the text reads, in the high half with case traded.
  std::vector<uint32_t> pair_cost = std::vector<uint32_t>(256 * 256);
  // The same for case across gaps: [traded][previous][gap][this].
  std::array<std::array<uint16_t, (detect_stats::kHighCases + 1) * detect_stats::kGaps *
                                      detect_stats::kHighCases>,
             2>
      gap_cost{};
  std::vector<Candidate> candidates;
  std::vector<Garbling> garblings;       // one step, then two
  std::array<uint8_t, 256> high_case{};  // lower, upper, not a letter
  // Extra cost of a letter Russian text next to never uses: the pair costs
  // stop at 16 bits, which understates it, so a chain turning a few stray
  // capitals into such letters reads cheaper than the plain text.
  std::array<uint16_t, 256> unused_byte_cost{};

  Model() {
    for (int b = 0; b < 256; ++b)
      high_case[b] = (b >= 0xE0 || b == 0xB8) ? 0 : (b >= 0xC0 || b == 0xA8) ? 1 : 2;
    using namespace detect_stats;
    // The statistics leave words in capitals out; within a word, staying in
    // capitals costs what staying in small letters does, so a word in
    // capitals costs about what a capitalised one does.
    std::array<uint8_t, kCaseClasses * kCaseClasses> case_cost;
    std::copy(std::begin(kCaseCost), std::end(kCaseCost), case_cost.begin());
    case_cost[1 * kCaseClasses + 1] = case_cost[0];
    std::array<uint8_t, std::size(kGapCaseCost)> gap_case_cost;
    std::copy(std::begin(kGapCaseCost), std::end(kGapCaseCost), gap_case_cost.begin());
    gap_case_cost[(1 * kGaps + 0) * kHighCases + 1] = gap_case_cost[0];
    // Lists start every line with a capital, wrapped prose with a small
    // letter: a line break says nothing about the case after it.
    for (int previous = 0; previous <= kHighCases; ++previous) {
      uint8_t* row = &gap_case_cost[(previous * kGaps + 2) * kHighCases];
      row[0] = row[1] = std::min(row[0], row[1]);
    }
    // Nor does the start of a text: a snippet, a message, a cell of a
    // table starts with either.
    for (int gap = 0; gap < kGaps; ++gap) {
      uint8_t* row = &gap_case_cost[(kStartOfText * kGaps + gap) * kHighCases];
      row[0] = row[1] = std::min(row[0], row[1]);
    }
    for (int b = 0x80; b < 0x100; ++b) {
      // A class seen N times in training has the flat row of add-half
      // smoothing: its dearest follower costs log2(2 (N + kClasses/2)).
      const uint8_t* row = &kBigramCost[kByteClass[b] * kClasses];
      const int dearest = *std::max_element(row, row + kClasses);
      const double seen = 0.5 * std::exp2(double(dearest) / kCostPerBit) - kClasses / 2.0;
      const char32_t c = Cp1251ToUnicode(uint8_t(b));
      const bool other_cyrillic = c >= 0x400 && c < 0x500 && !IsCyrillicLetter(uint8_t(b));
      if (other_cyrillic && seen < kUnusedByteSeen)
        unused_byte_cost[b] = kUnusedByteBits * kCostPerBit;
    }
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        const int letters = kBigramCost[kByteClass[a] * kClasses + kByteClass[b]];
        const int as_is = case_cost[kCaseClass[a] * kCaseClasses + kCaseClass[b]];
        const int traded =
            case_cost[TradeCase(kCaseClass[a]) * kCaseClasses + TradeCase(kCaseClass[b])];
        pair_cost[a << 8 | b] = uint32_t(letters + as_is) | uint32_t(letters + traded) << 16;
      }
    const auto trade = [](int high) { return high < 2 ? 1 - high : high; };
    for (int previous = 0; previous <= kHighCases; ++previous)
      for (int gap = 0; gap < kGaps; ++gap)
        for (int c = 0; c < kHighCases; ++c) {
          const int at = (previous * kGaps + gap) * kHighCases + c;
          gap_cost[0][at] = gap_case_cost[at];
          gap_cost[1][at] = gap_case_cost[(trade(previous) * kGaps + gap) * kHighCases + trade(c)];
        }
    AddChains(false);
    AddChains(true);
    AddGarblings();
  }

  void AddGarblings() {
    for (int32_t first : kSteps)
      garblings.push_back({Then(IdentityTable(), first), RecodingChain{{first}, 1},
                           RecodingChain{{-first}, 1}, Then(IdentityTable(), -first)});
    for (int32_t first : kSteps)
      for (int32_t second : kSteps)
        if (second != -first)  // straight back: no garbling, as above
          garblings.push_back(
              {Then(Then(IdentityTable(), first), second), RecodingChain{{first, second}, 2},
               RecodingChain{{-second, -first}, 2}, Then(Then(IdentityTable(), -second), -first)});
  }

  // Every chain of 8-bit steps up to the length left, shortest first; a
  // chain mapping every byte as a shorter one does is left out.
  void AddChains(bool after_utf8) {
    std::set<ByteTable> tables;
    Candidate start{{}, IdentityTable(), IdentityTable(), 0, after_utf8};
    if (after_utf8) {
      start.chain.steps[0] = kDetectUtf8Step;
      start.chain.length = 1;
    }
    std::vector<Candidate> level{start};
    while (true) {
      for (const Candidate& c : level) {
        if (tables.insert(c.table).second) {
          candidates.push_back(c);
          candidates.back().prior = PriorBits(c.chain) * detect_stats::kCostPerBit;
        }
      }
      if (level.front().chain.length == 3) break;
      std::vector<Candidate> next;
      for (const Candidate& c : level)
        for (int32_t code : kSteps) {
          // Two steps, one straight back (Koi->Win after Win->Koi), undo
          // nothing a user did: they only change the few bytes where the
          // recoding tables are not each other's inverse, mostly symbols
          // into letters ("АЛЕФ»" into "АЛЕФЛ"). (Within three steps such
          // a pair can undo a wrong recoding exactly where its plain
          // inverse cannot.)
          if (c.chain.length == (after_utf8 ? 2 : 1) && code == -c.chain.steps[c.chain.length - 1])
            continue;
          Candidate n = c;
          n.chain.steps[n.chain.length++] = code;
          n.table = Then(c.table, code);
          // A plain reading is weighed as read; chains of wrong recodings
          // as their tables leave the bytes, which is what such texts hold.
          const bool plain = n.chain.length == (after_utf8 ? 2 : 1);
          n.meaning = plain ? ThenMeaning(c.table, code) : n.table;
          next.push_back(n);
        }
      level = std::move(next);
    }
  }
};

const Model& TheModel() {
  static const Model model;
  return model;
}

// UTF-8 into Windows-1251: characters it lacks and bytes that are not UTF-8
// become '?'. Counts both kinds of sequence, for judging whether the text is
// UTF-8 at all. A sequence cut by the end of a sample is dropped.
struct Utf8Reading {
  std::string text;
  size_t multibyte = 0;
  size_t invalid = 0;
};

Utf8Reading ReadUtf8(std::string_view text, bool end_is_cut) {
  Utf8Reading r;
  r.text.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    if (b < 0x80) {
      r.text.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    char32_t c;
    const size_t n = DecodeUtf8(text, i, c);
    if (n == 0) {
      if (end_is_cut && text.size() - i < 4) break;
      ++r.invalid;
      r.text.push_back('?');
      ++i;
      continue;
    }
    ++r.multibyte;
    const int byte = UnicodeToCp1251(c);
    r.text.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    i += n;
  }
  return r;
}

// What a recoding can change, counted once per text: bytes above 0x7F,
// byte pairs with at least one of them, and runs from one high byte to the
// next (what lies between them only as kGaps). Scoring a chain then maps
// these through its table instead of recoding the text.
struct Counts {
  std::array<uint32_t, 256> byte{};
  std::vector<uint8_t> bytes_seen;   // high bytes
  std::vector<uint16_t> pairs_seen;  // previous << 8 | next
  std::vector<uint32_t> pair_count;  // parallel to pairs_seen
  std::vector<uint32_t> gaps_seen;   // (previous, or 0 at the start) << 16 | gap << 8 | next
  std::vector<uint32_t> gap_count;

  explicit Counts(std::string_view text) {
    // Dense scratch indices into the lists, cleared again on the way out.
    thread_local std::vector<uint32_t> pair_slot(256 * 256);
    thread_local std::vector<uint32_t> gap_slot(256 * detect_stats::kGaps * 256);
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const size_t n = text.size();
    uint8_t prev = '\n';  // text boundaries count as line breaks
    uint8_t prev_high = 0;
    int gap = 3;
    for (size_t i = 0; i <= n; ++i) {
      const uint8_t b = i < n ? p[i] : '\n';
      if ((prev | b) & 0x80) {
        const uint16_t key = static_cast<uint16_t>(prev << 8 | b);
        uint32_t& slot = pair_slot[key];
        if (slot == 0) {
          pairs_seen.push_back(key);
          pair_count.push_back(0);
          slot = static_cast<uint32_t>(pairs_seen.size());
        }
        ++pair_count[slot - 1];
      }
      if (b & 0x80) {
        if (i < n && byte[b]++ == 0) bytes_seen.push_back(b);
        const uint32_t key = uint32_t{prev_high} << 16 | uint32_t(gap) << 8 | b;
        uint32_t& slot = gap_slot[(prev_high * detect_stats::kGaps + gap) << 8 | b];
        if (slot == 0) {
          gaps_seen.push_back(key);
          gap_count.push_back(0);
          slot = static_cast<uint32_t>(gaps_seen.size());
        }
        ++gap_count[slot - 1];
        prev_high = b;
        gap = 0;
      } else if (b == '.' || b == '!' || b == '?') {
        gap = 3;
      } else if (b == '\n' || b == '\r') {
        gap = std::max(gap, 2);
      } else if (gap == 0) {
        gap = 1;
      }
      prev = b;
    }
    for (uint16_t key : pairs_seen) pair_slot[key] = 0;
    for (uint32_t key : gaps_seen)
      gap_slot[((key >> 16) * detect_stats::kGaps + ((key >> 8) & 0xFF)) << 8 | (key & 0xFF)] = 0;
  }
};

struct Scored {
  const Candidate* candidate;
  int64_t cost;
  size_t letters;
};

// The cost of a reading, before the chain's prior: the pairs, case across
// gaps (or as all capitals, if cheaper) and letters Russian never uses.
int64_t TableCost(const Counts& counts, const ByteTable& t, size_t& letters) {
  const Model& model = TheModel();
  int64_t as_is = 0, traded = 0;
  for (size_t i = 0; i < counts.pairs_seen.size(); ++i) {
    const uint16_t key = counts.pairs_seen[i];
    const uint32_t both = model.pair_cost[t[key >> 8] << 8 | t[key & 0xFF]];
    as_is += int64_t{counts.pair_count[i]} * (both & 0xFFFF);
    traded += int64_t{counts.pair_count[i]} * (both >> 16);
  }
  for (size_t i = 0; i < counts.gaps_seen.size(); ++i) {
    const uint32_t key = counts.gaps_seen[i];
    const uint8_t prev = static_cast<uint8_t>(key >> 16);
    const int previous = prev ? model.high_case[t[prev]] : detect_stats::kStartOfText;
    const int at =
        (previous * detect_stats::kGaps + ((key >> 8) & 0xFF)) * detect_stats::kHighCases +
        model.high_case[t[key & 0xFF]];
    as_is += int64_t{counts.gap_count[i]} * model.gap_cost[0][at];
    traded += int64_t{counts.gap_count[i]} * model.gap_cost[1][at];
  }
  const int64_t cost = std::min(as_is, traded + kAllCapitalsBits * detect_stats::kCostPerBit);
  letters = 0;
  int64_t unused = 0;
  for (uint8_t b : counts.bytes_seen) {
    if (IsCyrillicLetter(t[b])) letters += counts.byte[b];
    unused += int64_t{counts.byte[b]} * model.unused_byte_cost[t[b]];
  }
  return cost + unused;
}

// Whether the chain's table gives back, on the bytes seen, a text that
// the garbling turns into them again: the chain undoes that garbling here.
bool Undoes(const ByteTable& chain, const ByteTable& garbling, const Counts& counts) {
  for (uint8_t b : counts.bytes_seen)
    if (garbling[chain[b]] != b) return false;
  return true;
}

// Whether the chain differs from the plain undoing on the bytes seen, and
// only by giving letters where that gives something else.
bool LettersWherePlainIsNot(const ByteTable& chain, const ByteTable& plain, const Counts& counts) {
  bool differs = false;
  for (uint8_t b : counts.bytes_seen) {
    if (chain[b] == plain[b]) continue;
    if (!IsCyrillicLetter(chain[b]) || IsCyrillicLetter(plain[b])) return false;
    differs = true;
  }
  return differs;
}

// The chain's prior, and its 8-bit steps, as the simplest garbling it
// undoes on this text. The recoding tables are not each other's inverses
// on some bytes (ё, symbols), so the exact undoing of one or two wrong
// recodings may take a longer chain than their plain inverse (a wrong
// "Koi->Win" leaves ё as it is, and "Win->Koi" then makes it "Ј"; "Win->Mac,
// Alt->Win, Win->Koi" undoes "Koi->Win, Alt->Win" with every capital right,
// "Win->Alt, Win->Koi" does not): it is priced as what it undoes.
int SimplestSteps(const Candidate& c, const Counts& counts, int& prior) {
  const int steps = c.chain.length - (c.after_utf8 ? 1 : 0);
  prior = c.prior;
  if (steps < 2) return steps;
  for (const Garbling& g : TheModel().garblings) {
    if (g.undo.length >= steps) break;
    if (!Undoes(c.table, g.table, counts)) continue;
    // Not the plain undoing itself under a longer name, which is weighed
    // as that name (a plain reading weighs the page's own characters), nor
    // one that differs from it in symbols: those a longer chain may only
    // seem to mend.
    if (!LettersWherePlainIsNot(c.table, g.undo_table, counts)) return steps;
    RecodingChain plain = g.undo;
    if (c.after_utf8) {
      plain.steps = {kDetectUtf8Step, g.undo.steps[0], g.undo.steps[1]};
      plain.length = g.undo.length + 1;
    }
    prior = std::min(prior, PriorBits(plain) * detect_stats::kCostPerBit);
    return g.undo.length;
  }
  return steps;
}

// The simplest garbling the chain's 8-bit steps undo exactly on the bytes
// seen: one or two steps shorter than the chain, else its steps turned
// round if those do, else one or two steps that do.
RecodingChain GarblingUndone(const Candidate& c, const Counts& counts) {
  RecodingChain turned;
  ByteTable table = IdentityTable();
  for (int i = c.chain.length - 1; i >= 0 && c.chain.steps[i] != kDetectUtf8Step; --i) {
    turned.steps[turned.length++] = -c.chain.steps[i];
    table = Then(table, -c.chain.steps[i]);
  }
  const auto& garblings = TheModel().garblings;
  for (const Garbling& g : garblings)
    if (g.done.length < turned.length && Undoes(c.table, g.table, counts)) return g.done;
  if (Undoes(c.table, table, counts)) return turned;
  for (const Garbling& g : garblings)
    if (Undoes(c.table, g.table, counts)) return g.done;
  return turned;
}

void Score(const Counts& counts, bool after_utf8, std::vector<Scored>& out) {
  const Model& model = TheModel();
  for (const Candidate& c : model.candidates) {
    if (c.after_utf8 != after_utf8) continue;
    size_t letters = 0;
    int prior = 0;
    const int steps = SimplestSteps(c, counts, prior);
    const int64_t cost = prior + TableCost(counts, c.meaning, letters);
    // A text really garbled twice reads as nonsense every other way, by
    // far more than this; a chain that only beats a simpler one by some
    // symbols and capitals it turns into letters gains little per letter.
    // Without it such chains win on long texts, where any small gain adds
    // up past a fixed prior. A chain exactly undoing one wrong recoding
    // pays none: it differs from the plain undoing only in letters.
    const int literal_steps = c.chain.length - (c.after_utf8 ? 1 : 0);
    const int extra_steps = steps == 1 ? 0 : literal_steps - 1;
    const int64_t per_letter =
        extra_steps > 0
            ? int64_t(letters) * extra_steps * detect_stats::kCostPerBit / kLettersPerExtraStepBit
            : 0;
    out.push_back({&c, cost + per_letter, letters});
  }
}

// Readings weighed by trigrams: at most this many, within this many bits of
// the best by pairs, on this much of the text.
constexpr size_t kFinalists = 24;
constexpr int kFinalistBits = 80;
constexpr size_t kTrigramBytes = 64 * 1024;

// Letter trigram cost of a text read through a table, in cost units.
int64_t TrigramCostOfClasses(std::string_view text, const std::array<uint8_t, 256>& cls) {
  using namespace detect_stats;
  uint32_t a = kTrigramClasses - 1, b = kTrigramClasses - 1;
  int64_t bits = 0;
  for (char ch : text) {
    const uint32_t c = cls[static_cast<uint8_t>(ch)];
    const uint32_t at = (a * kTrigramClasses + b) * kTrigramClasses + c;
    bits += (kTrigramBits[at >> 1] >> ((at & 1) * 4)) & 15;
    a = b;
    b = c;
  }
  return bits * kCostPerBit;
}

std::array<uint8_t, 256> TrigramClasses(const ByteTable& table) {
  using namespace detect_stats;
  std::array<uint8_t, 256> cls;
  for (int b = 0; b < 256; ++b) {
    const int c = kByteClass[table[b]];
    cls[b] = static_cast<uint8_t>(c < kTrigramClasses - 1 ? c : kTrigramClasses - 1);
  }
  return cls;
}

int64_t TrigramCost(std::string_view text, const ByteTable& table) {
  return TrigramCostOfClasses(text, TrigramClasses(table));
}

// Whether two candidates turn the text into the same bytes.
bool SameResult(const Scored& a, const Scored& b, const Counts& plain, const Counts* utf8) {
  if (a.candidate->after_utf8 != b.candidate->after_utf8) return false;
  const Counts& counts = a.candidate->after_utf8 ? *utf8 : plain;
  for (uint8_t byte : counts.bytes_seen)
    if (a.candidate->table[byte] != b.candidate->table[byte]) return false;
  return true;
}

}  // namespace

Detection DetectRecoding(std::string_view text) {
  const bool cut = text.size() > kDetectSampleBytes;
  const std::string_view sample = text.substr(0, kDetectSampleBytes);

  std::vector<Scored> scored;
  const Counts plain(sample);
  Score(plain, false, scored);

  // The UTF-8 reading competes only when the text looks like UTF-8: some
  // multi-byte sequences, hardly any bytes that fit none.
  std::unique_ptr<Counts> utf8;
  Utf8Reading reading;
  if (!plain.bytes_seen.empty()) {
    reading = ReadUtf8(sample, cut);
    if (reading.multibyte > 0 && reading.invalid * 50 <= reading.multibyte) {
      utf8 = std::make_unique<Counts>(reading.text);
      Score(*utf8, true, scored);
    }
  }

  Detection d;
  size_t most_letters = 0;
  for (const Scored& s : scored) most_letters = std::max(most_letters, s.letters);
  if (most_letters < kDetectMinLetters) return d;
  d.judged = true;

  // The readings close to the best by pairs are weighed again by letter
  // trigrams, which tell a word from a near-anagram of it.
  std::sort(scored.begin(), scored.end(),
            [](const Scored& a, const Scored& b) { return a.cost < b.cost; });
  std::vector<Scored> finalists;
  for (const Scored& s : scored) {
    if (finalists.size() == kFinalists ||
        s.cost - scored.front().cost > kFinalistBits * detect_stats::kCostPerBit)
      break;
    bool same = false;
    for (const Scored& f : finalists) same = same || SameResult(s, f, plain, utf8.get());
    if (same) continue;
    finalists.push_back(s);
    const std::string_view read = s.candidate->after_utf8 ? std::string_view(reading.text) : sample;
    finalists.back().cost += TrigramCost(read.substr(0, kTrigramBytes), s.candidate->meaning);
  }
  const Scored* best = &finalists.front();
  for (const Scored& f : finalists)
    if (f.cost < best->cost) best = &f;
  d.chain = best->candidate->chain;
  d.garbling = GarblingUndone(*best->candidate, best->candidate->after_utf8 ? *utf8 : plain);
  d.letters = best->letters;

  // Confidence: the best reading's share among the others, each weighted by
  // 2^-(its extra cost in bits).
  double others = 0;
  for (const Scored& f : finalists)
    if (&f != best) others += std::exp2(-double(f.cost - best->cost) / detect_stats::kCostPerBit);
  d.confidence = 1.0 / (1.0 + others);
  return d;
}

struct ReadingScorer::Counts : lirvane::Counts {
  using lirvane::Counts::Counts;
};

ReadingScorer::ReadingScorer(std::string_view bytes)
    : counts_(std::make_unique<Counts>(bytes)), bytes_(bytes) {}
ReadingScorer::~ReadingScorer() = default;

ReadingScorer::Result ReadingScorer::Cost(const MeaningTable& meaning) const {
  Result r;
  r.cost = TableCost(*counts_, meaning, r.letters);
  return r;
}

int64_t ReadingScorer::TrigramCost(const MeaningTable& meaning) const {
  return lirvane::TrigramCost(bytes_.substr(0, kTrigramBytes), meaning);
}

uint8_t ScoringByteOf(char32_t c) { return ScoringByte(c); }

int64_t ReadingScorer::LinearCost(std::string_view bytes) {
  using namespace detect_stats;
  const Model& model = TheModel();
  static const std::array<uint8_t, 256> kIdentityClasses = [] {
    ByteTable identity;
    for (int b = 0; b < 256; ++b) identity[b] = static_cast<uint8_t>(b);
    return TrigramClasses(identity);
  }();
  // Pairs and trigrams in one pass: lines are weighed one after another.
  int64_t as_is = 0, traded = 0, unused = 0, trigram_bits = 0;
  uint8_t prev = '\n';
  uint32_t class_a = kTrigramClasses - 1, class_b = kTrigramClasses - 1;
  const auto pair = [&](uint8_t a, uint8_t b) {
    const uint32_t both = model.pair_cost[a << 8 | b];
    as_is += both & 0xFFFF;
    traded += both >> 16;
  };
  for (char ch : bytes) {
    const auto b = static_cast<uint8_t>(ch);
    if ((prev | b) & 0x80) {
      pair(prev, b);
      unused += model.unused_byte_cost[b];
    }
    prev = b;
    const uint32_t class_c = kIdentityClasses[b];
    const uint32_t at = (class_a * kTrigramClasses + class_b) * kTrigramClasses + class_c;
    trigram_bits += (kTrigramBits[at >> 1] >> ((at & 1) * 4)) & 15;
    class_a = class_b;
    class_b = class_c;
  }
  if (prev & 0x80) pair(prev, '\n');
  return std::min(as_is, traded + kAllCapitalsBits * kCostPerBit) + unused +
         trigram_bits * kCostPerBit;
}

std::string ApplyRecodingChain(std::string_view text, const RecodingChain& chain) {
  std::string out(text);
  for (int32_t code : chain) RecodeInPlace(out, code);
  return out;
}

}  // namespace lirvane
