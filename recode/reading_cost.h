// The detector's model of Russian text, for weighing any reading of a text:
// the text as bytes, and what each byte means as a Windows-1251 byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace lirvane {

using MeaningTable = std::array<uint8_t, 256>;

// The Windows-1251 byte a character is weighed as; characters Windows-1251
// lacks weigh as a byte no Russian text uses.
uint8_t ScoringByteOf(char32_t c);

class ReadingScorer {
 public:
  static constexpr int kCostPerBit = 16;

  // Counts the text once; it must outlive the scorer.
  explicit ReadingScorer(std::string_view bytes);
  ~ReadingScorer();
  ReadingScorer(const ReadingScorer&) = delete;
  ReadingScorer& operator=(const ReadingScorer&) = delete;

  struct Result {
    int64_t cost = 0;    // in kCostPerBit units per bit
    size_t letters = 0;  // Cyrillic letters of the reading
  };
  // Letter pairs, case, and letters Russian never uses.
  Result Cost(const MeaningTable& meaning) const;
  // Letter trigrams, on the text's first 64 KB; tells words from anagrams.
  int64_t TrigramCost(const MeaningTable& meaning) const;

  // Pairs and trigrams of a short text read as it stands, in one pass and
  // without counting first: for weighing line after line.
  static int64_t LinearCost(std::string_view bytes);

 private:
  struct Counts;
  std::unique_ptr<Counts> counts_;
  std::string_view bytes_;
};

}  // namespace lirvane
