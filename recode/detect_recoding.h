// "Авто": finds the code page, or the chain of wrong recodings, that turned a
// Russian text into what it is now, so that the chain can undo it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recode/codepage.h"

namespace lirvane {

// The step that reads UTF-8 into Windows-1251; only ever a chain's first.
inline constexpr int32_t kDetectUtf8Step = kCodeUtf8;

// Up to three code page codes, applied in order, that make the text
// Windows-1251 Russian. Empty: the text already is.
struct RecodingChain {
  std::array<int32_t, 3> steps{};
  int length = 0;

  bool empty() const { return length == 0; }
  const int32_t* begin() const { return steps.data(); }
  const int32_t* end() const { return steps.data() + length; }
  friend bool operator==(const RecodingChain& a, const RecodingChain& b) {
    return a.length == b.length && std::equal(a.begin(), a.end(), b.begin());
  }
};

struct Detection {
  // False: no reading of the text has enough Cyrillic letters to judge by;
  // then the chain is empty and means nothing.
  bool judged = false;
  RecodingChain chain;
  // The wrong recodings the chain undoes exactly on the text looked at, in
  // the order they were done: mostly the chain's steps turned round, last
  // first; but the tables are not each other's inverses on every byte, so a
  // chain may be the exact undoing of a shorter or other garbling.
  RecodingChain garbling;
  // How sure the detector is of the chain against the best other reading,
  // 0..1.
  double confidence = 0;
  // Cyrillic letters in the text once the chain has been applied (within
  // the part that was looked at).
  size_t letters = 0;
};

// The detector decides on this much of a text's beginning; a few hundred KB
// tell as much as the whole file.
inline constexpr size_t kDetectSampleBytes = 256 * 1024;

// Fewer Cyrillic letters than this in every reading: nothing to judge.
inline constexpr size_t kDetectMinLetters = 5;

// Looks at the first kDetectSampleBytes of the text. Streaming callers hand
// in the first piece of their input and apply the chain to every piece.
Detection DetectRecoding(std::string_view text);

// Applies the chain to a whole text.
std::string ApplyRecodingChain(std::string_view text, const RecodingChain& chain);

}  // namespace lirvane
