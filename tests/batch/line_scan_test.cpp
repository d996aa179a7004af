// The line counts of --check for the part of a file it does not weigh:
// held to a plain per-line reading of the same text, whatever the mix of
// lines and wherever the pieces are cut.
#include "batch/line_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "recode/code_pages.h"

namespace lirvane {
namespace {

// Lines of every kind, and the UTF-8 faults a vector test could miss: a
// lead byte at a line's end, a continuation byte at a line's start or one
// too many, overlong and surrogate forms, four-byte characters, NULs.
const std::vector<std::string> kLines = {
    "",
    "plain ASCII words, some of them long enough to cross a block of sixty-four bytes",
    "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80",  // Привет, мир
    "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0",      // the same in Windows-1251
    "\xF0\x9F\x98\x80 \xE2\x82\xAC \xE4\xB8\xAD",  // 😀 € 中
    "ends in a lead \xD0",
    "\xB8 starts with a continuation",
    "two continuations \xD0\xB0\xB0",
    "overlong \xC0\xAF and \xE0\x80\xAF",
    "surrogate \xED\xA0\x80",
    "too large \xF4\x90\x80\x80 \xF5",
    "cut four-byte \xF0\x9F\x98",
    "a NUL\0 inside",
    "\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0"
    "\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81"
    "\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81\xD0\x81",  // Ё×33
    "tab\tand carriage return\r",
};

std::string LineOf(size_t k) {
  // A literal with a NUL inside needs its length.
  return k == 12 ? std::string("a NUL\0 inside", 13) : kLines[k];
}

LineScan Expected(const std::vector<size_t>& picks, bool last_break) {
  LineScan want;
  for (size_t n = 0; n < picks.size(); ++n) {
    const std::string line = LineOf(picks[n]);
    if (n + 1 == picks.size() && !last_break && line.empty()) break;
    ++want.lines;
    if (!IsAscii(line)) ++(IsWellFormedUtf8(line) ? want.utf8_lines : want.eight_bit_lines);
    want.nul = want.nul || line.find('\0') != std::string::npos;
  }
  return want;
}

TEST(LineScanTest, CountsAsAPlainReadingOfEachLine) {
  std::mt19937 rng(42);
  for (int round = 0; round < 400; ++round) {
    std::vector<size_t> picks(rng() % 60 + 1);
    // Mostly one kind, as files are, with others among them.
    const size_t main_kind = rng() % kLines.size();
    for (size_t& k : picks) k = rng() % 4 == 0 ? rng() % kLines.size() : main_kind;
    const bool last_break = rng() % 2 == 0;
    std::string text;
    for (size_t n = 0; n < picks.size(); ++n) {
      text += LineOf(picks[n]);
      if (n + 1 < picks.size() || last_break) text += '\n';
    }
    const LineScan want = Expected(picks, last_break);

    LineScan got;
    for (size_t at = 0; at < text.size();) {
      const size_t piece =
          std::min<size_t>(text.size() - at, rng() % 3 == 0 ? rng() % 7 : rng() % 300);
      got.Scan(std::string_view(text).substr(at, piece));
      at += piece;
    }
    got.End();
    ASSERT_EQ(got.lines, want.lines) << "round " << round;
    ASSERT_EQ(got.utf8_lines, want.utf8_lines) << "round " << round;
    ASSERT_EQ(got.eight_bit_lines, want.eight_bit_lines) << "round " << round;
    ASSERT_EQ(got.nul, want.nul) << "round " << round;

    const LineScan whole = ScanOf(text);
    ASSERT_EQ(whole.utf8_lines, want.utf8_lines) << "round " << round;
    ASSERT_EQ(whole.eight_bit_lines, want.eight_bit_lines) << "round " << round;
  }
}

}  // namespace
}  // namespace lirvane
