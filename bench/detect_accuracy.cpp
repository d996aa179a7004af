// Accuracy and speed of the "Авто" detector on held-out Russian text:
//
//   detect_accuracy HELDOUT_WIN1251 [CASES_DIR]
//
// Cuts the held-out text into snippets in three length buckets (Cyrillic
// letters 8-30, 31-120, 121+), encodes each into the six code pages and
// garbles it by one and two wrong recodings (and a wrong recoding saved as
// UTF-8), and counts how often the detected chain gives the snippet back
// exactly. Cases no chain of up to three steps can restore are counted
// apart. With CASES_DIR, the plain-encoded cases are written there for the
// peers (see detect_accuracy.py). Last, times a 10 MB decision against one
// memchr over the same text.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "recode/detect_recoding.h"
#include "recode/recode.h"
#include "recode/repair.h"
#include "recode/code_pages.h"
#include "recode/cp1251_unicode.h"
#include "recode/utf8.h"

using namespace lirvane;

namespace {

constexpr int kSnippetsPerBucket = 1000;
constexpr int32_t kCodes[] = {8, 866, 595, 111, -8, -866, -595, -111};

struct Bucket {
  const char* name;
  size_t low, high;  // letters, inclusive
};
constexpr Bucket kBuckets[] = {{"8-30", 8, 30}, {"31-120", 31, 120}, {"121+", 121, 2000}};

bool IsLetter(uint8_t b) { return b >= 0xC0 || b == 0xA8 || b == 0xB8; }

std::string ToUtf8(std::string_view win) {
  std::string out;
  for (char c : win) AppendUtf8(out, Cp1251ToUnicode(uint8_t(c)));
  return out;
}

// Snippets that start at a line start, end at a word end, stay within one
// source file and hold a number of letters drawn within the bucket.
std::vector<std::string> Snippets(const std::string& text, const Bucket& bucket,
                                  std::mt19937& rng) {
  std::vector<std::string> out;
  std::uniform_int_distribution<size_t> pos(0, text.size() - 1);
  std::uniform_int_distribution<size_t> target(bucket.low, std::min<size_t>(bucket.high, 1500));
  while (out.size() < kSnippetsPerBucket) {
    size_t start = text.find('\n', pos(rng));
    if (start == std::string::npos) continue;
    ++start;
    const size_t want = target(rng);
    size_t letters = 0, i = start;
    const size_t limit = std::min(text.size(), start + 40 * want + 400);
    for (; i < limit; ++i) {
      const uint8_t b = uint8_t(text[i]);
      if (b == '\f') break;
      if (IsLetter(b)) {
        ++letters;
      } else if (letters >= want) {
        break;
      }
    }
    if (i >= limit || text[i] == '\f' || letters < bucket.low || letters > bucket.high) continue;
    out.push_back(text.substr(start, i - start));
  }
  return out;
}

// Every chain of up to three steps, as byte tables, for telling which
// garbled cases can be restored at all.
struct ChainTable {
  bool utf8_first;
  std::string high;  // images of 0x80..0xFF
};

std::vector<ChainTable> AllChainTables() {
  std::string start;
  for (int b = 0x80; b < 0x100; ++b) start.push_back(char(b));
  std::set<std::pair<bool, std::string>> seen;
  std::vector<std::string> level{start};
  std::vector<ChainTable> out;
  for (int len = 0; len <= 3; ++len) {
    for (const std::string& t : level) {
      if (seen.insert({false, t}).second) out.push_back({false, t});
      if (len <= 2 && seen.insert({true, t}).second) out.push_back({true, t});
    }
    std::vector<std::string> next;
    for (const std::string& t : level)
      for (int32_t c : kCodes) next.push_back(Recode(t, c));
    level = std::move(next);
  }
  return out;
}

bool Restorable(const std::string& garbled, const std::string& original,
                const std::vector<ChainTable>& chains) {
  const std::string utf8 = ApplyRecodingChain(garbled, RecodingChain{{kDetectUtf8Step}, 1});
  for (const ChainTable& c : chains) {
    const std::string& from = c.utf8_first ? utf8 : garbled;
    if (from.size() != original.size()) continue;
    bool ok = true;
    for (size_t i = 0; i < from.size() && ok; ++i) {
      const uint8_t b = uint8_t(from[i]);
      ok = (b < 0x80 ? char(b) : c.high[b - 0x80]) == original[i];
    }
    if (ok) return true;
  }
  return false;
}

// Whether the last miss gave the original with only letter case changed:
// a text garbled into capitals (Win->Iso twice turns а..я into А..Я) reads
// as a text in capitals, and nothing tells the two apart.
bool last_right_but_case = false;

std::string FoldCase(std::string s) {
  for (char& c : s) {
    const uint8_t b = uint8_t(c);
    if (b >= 0xC0 && b <= 0xDF) c = char(b + 0x20);
    if (b == 0xA8) c = char(0xB8);
  }
  return s;
}

struct Tally {
  long cases = 0, restorable = 0, right = 0, right_but_case = 0;
  void Add(bool can, bool ok) {
    ++cases;
    if (can) {
      ++restorable;
      right += ok;
      right_but_case += ok || last_right_but_case;
    }
  }
};

// LIRVANE_DETECT_MISSES=N prints the first N misses, for tuning.
int misses_to_show =
    std::getenv("LIRVANE_DETECT_MISSES") ? std::atoi(std::getenv("LIRVANE_DETECT_MISSES")) : 0;

std::string miss_label;
int miss_bucket = std::getenv("LIRVANE_DETECT_MISS_BUCKET")
                      ? std::atoi(std::getenv("LIRVANE_DETECT_MISS_BUCKET"))
                      : -1;
int current_bucket = 0;

bool Right(const std::string& input, const std::string& original) {
  const Detection d = DetectRecoding(input);
  const std::string result = ApplyRecodingChain(input, d.chain);
  const bool ok = d.judged && result == original;
  last_right_but_case = d.judged && !ok && FoldCase(result) == FoldCase(original);
  if (!ok && misses_to_show > 0 && (miss_bucket < 0 || miss_bucket == current_bucket)) {
    --misses_to_show;
    const std::string& got = result;
    std::fprintf(stderr, "MISS %s, chain", miss_label.c_str());
    for (int32_t c : d.chain) std::fprintf(stderr, " %d", c);
    size_t at = 0;
    while (at < got.size() && got[at] == original[at]) ++at;
    const size_t from = at > 60 ? at - 60 : 0;
    // One line each: line breaks and tabs shown as '|' and '~'.
    auto flat = [&](const std::string& s) {
      std::string out = s.substr(from, 200);
      for (char& ch : out) ch = ch == '\n' ? '|' : ch == '\t' ? '~' : ch;
      return out;
    };
    std::fprintf(stderr, " conf %.3f len %zu\n  want: %s\n  got:  %s\n", d.confidence,
                 original.size(), flat(original).c_str(), flat(got).c_str());
  }
  return ok;
}

void Row(const char* label, const Tally (&t)[3]) {
  std::printf("%-16s", label);
  for (const Tally& x : t) {
    if (x.restorable)
      std::printf(" | %7.2f%% %6ld/%-6ld", 100.0 * x.right / x.restorable, x.right, x.restorable);
    else
      std::printf(" | %22s", "-");
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s HELDOUT_WIN1251 [CASES_DIR]\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream buf;
  buf << in.rdbuf();
  const std::string text = buf.str();
  const std::filesystem::path cases_dir = argc > 2 ? argv[2] : "";
  const auto chains = AllChainTables();

  struct Page {
    const char* name;
    std::string (*encode)(const std::string&);
  };
  const Page pages[] = {
      {"Windows-1251", [](const std::string& w) { return w; }},
      {"KOI8-R", [](const std::string& w) { return Recode(w, -8); }},
      {"DOS 866", [](const std::string& w) { return Recode(w, -866); }},
      {"ISO-8859-5", [](const std::string& w) { return Recode(w, -595); }},
      {"Mac Cyrillic", [](const std::string& w) { return Recode(w, -111); }},
      {"UTF-8", [](const std::string& w) { return ToUtf8(w); }},
  };
  Tally plain[6][3], plain_all[3], garbled1[3], garbled2[3], garbled_utf8[3];
  Tally repair_keeps_1251[3], repair_plain[3], repair_garbled[3];
  long unrestorable_plain[3] = {}, garbled_total[3] = {};

  std::ofstream verdicts;
  if (!cases_dir.empty()) {
    std::filesystem::create_directories(cases_dir);
    verdicts.open(cases_dir / "ours.txt");
  }
  std::mt19937 rng(20261208);
  for (int b = 0; b < 3; ++b) {
    current_bucket = b;
    const auto snippets = Snippets(text, kBuckets[b], rng);
    if (!cases_dir.empty()) {
      std::filesystem::create_directories(cases_dir / kBuckets[b].name);
    }
    for (size_t n = 0; n < snippets.size(); ++n) {
      const std::string& w = snippets[n];
      for (int p = 0; p < 6; ++p) {
        const std::string e = pages[p].encode(w);
        const bool can = Restorable(e, w, chains);
        miss_label = pages[p].name;
        const bool ok = can && Right(e, w);
        plain[p][b].Add(can, ok);
        plain_all[b].Add(can, ok);
        // What "Авто" makes of the text written in the page by its full
        // table (where the page has every character of it): the text; a
        // right Windows-1251 file it must leave as it is.
        static constexpr CodePageId kPageIds[] = {CodePageId::kWin1251,     CodePageId::kKoi8R,
                                                  CodePageId::kDos866,      CodePageId::kIso8859_5,
                                                  CodePageId::kMacCyrillic, CodePageId::kUtf8};
        const std::u32string text = *DecodeText(w, CodePageId::kWin1251);
        if (const auto written = EncodeText(text, kPageIds[p])) {
          const Repair r = RepairBytes(*written);
          if (p == 0) repair_keeps_1251[b].Add(true, !r.changed);
          const bool right = r.text == U32ToUtf8(text);
          repair_plain[b].Add(true, right);
          if (!right && misses_to_show > 0) {
            --misses_to_show;
            std::fprintf(stderr, "MISS Авто %s: %s\n  want: %s\n  got:  %s\n", pages[p].name,
                         r.description.c_str(), U32ToUtf8(text).substr(0, 300).c_str(),
                         r.text.substr(0, 300).c_str());
          }
        }
        if (!can) ++unrestorable_plain[b];
        if (!cases_dir.empty()) {
          const auto name = std::to_string(n) + "." + std::to_string(p);
          verdicts << kBuckets[b].name << '/' << name << ' ' << can << ' ' << ok << '\n';
          std::ofstream(cases_dir / kBuckets[b].name / name, std::ios::binary) << e;
          if (p == 0)
            std::ofstream(cases_dir / kBuckets[b].name / (std::to_string(n) + ".orig"),
                          std::ios::binary)
                << w;
        }
      }
      const std::string w_utf8 = U32ToUtf8(*DecodeText(w, CodePageId::kWin1251));
      auto garble = [&](Tally& t, const std::string& g) {
        ++garbled_total[b];
        const bool can = Restorable(g, w, chains);
        t.Add(can, can && Right(g, w));
        if (!can) return;
        const Repair r = RepairBytes(g);
        repair_garbled[b].Add(true, r.text == w_utf8);
        if (r.text != w_utf8 && std::getenv("LIRVANE_REPAIR_MISSES")) {
          size_t at = 0;
          while (at < r.text.size() && at < w_utf8.size() && r.text[at] == w_utf8[at]) ++at;
          at = at > 40 ? at - 40 : 0;
          while (at > 0 && (uint8_t(w_utf8[at]) & 0xC0) == 0x80) --at;  // a character's start
          std::fprintf(stderr, "MISS auto %s: %s\n  want: %s\n  got:  %s\n", miss_label.c_str(),
                       r.description.c_str(), w_utf8.substr(at, 120).c_str(),
                       r.text.substr(at, 120).c_str());
        }
      };
      for (int32_t c : {8, 866, 595, 111}) {
        miss_label = "garbled " + std::to_string(c);
        garble(garbled1[b], Recode(w, c));
      }
      for (int32_t c1 : kCodes)
        for (int32_t c2 : kCodes)
          if (c2 != -c1) {
            miss_label = "garbled " + std::to_string(c1) + " " + std::to_string(c2);
            garble(garbled2[b], Recode(Recode(w, c1), c2));
          }
      for (int32_t c : kCodes) {
        miss_label = "garbled " + std::to_string(c) + " utf8";
        garble(garbled_utf8[b], ToUtf8(Recode(w, c)));
      }
    }
  }

  std::printf(
      "Detector accuracy on held-out text (right / restorable cases), %d snippets per bucket\n",
      kSnippetsPerBucket);
  std::printf("%-16s | %22s | %22s | %22s\n", "case", "8-30 letters", "31-120 letters",
              "121+ letters");
  for (int p = 0; p < 6; ++p) Row(pages[p].name, plain[p]);
  Row("1251 kept, auto", repair_keeps_1251);
  Row("plain, auto", repair_plain);
  Row("all plain", plain_all);
  Row("garbled x1", garbled1);
  Row("garbled x2", garbled2);
  Row("wrong + UTF-8", garbled_utf8);
  Tally garbled_all[3];
  for (int b = 0; b < 3; ++b)
    for (const Tally* t : {&garbled1[b], &garbled2[b], &garbled_utf8[b]}) {
      garbled_all[b].right_but_case += t->right_but_case;
      garbled_all[b].cases += t->cases;
      garbled_all[b].restorable += t->restorable;
      garbled_all[b].right += t->right;
    }
  Row("all garbled", garbled_all);
  for (int b = 0; b < 3; ++b) garbled_all[b].right = garbled_all[b].right_but_case;
  Row("  case aside", garbled_all);
  Row("garbled, auto", repair_garbled);
  std::printf(
      "unrestorable plain cases: %ld / %ld / %ld; restorable garbled: %ld of %ld / %ld of %ld / "
      "%ld of %ld\n",
      unrestorable_plain[0], unrestorable_plain[1], unrestorable_plain[2],
      garbled_all[0].restorable, garbled_total[0], garbled_all[1].restorable, garbled_total[1],
      garbled_all[2].restorable, garbled_total[2]);

  // Speed: 10 MB of held-out text in KOI8-R, decided, against one memchr.
  std::string big;
  while (big.size() < 10 * 1024 * 1024) big += Recode(text, -8);
  big.resize(10 * 1024 * 1024);
  using Clock = std::chrono::steady_clock;
  auto best_of = [](auto&& f) {
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
      const auto t0 = Clock::now();
      f();
      best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return best;
  };
  // memchr for a byte the text lacks reads all of it.
  int absent = 0;
  while (big.find(char(absent)) != std::string::npos) ++absent;
  const void* (*volatile find)(const void*, int, size_t) =
      [](const void* p, int c, size_t n) -> const void* { return std::memchr(p, c, n); };
  volatile const void* sink = nullptr;
  const double scan_ms = best_of([&] { sink = find(big.data(), absent, big.size()); });
  Detection d;
  const double detect_ms = best_of([&] { d = DetectRecoding(big); });
  std::printf(
      "speed: 10 MB KOI8-R text decided in %.2f ms (chain %d steps, first %d); memchr over it %.2f "
      "ms; ratio %.1fx\n",
      detect_ms, d.chain.length, d.chain.length ? d.chain.steps[0] : 0, scan_ms,
      detect_ms / scan_ms);
  (void)sink;
  return 0;
}
