#include "bench/bench_text.h"

#include <array>
#include <random>
#include <string_view>

namespace lirvane::bench {
namespace {

// Russian letters а..я (Windows-1251 0xE0-0xFF) with ё (0xB8) last, by rough
// frequency per ten thousand letters.
constexpr std::array<int, 33> kLetterWeights = {
    801, 159, 454, 170, 298, 845, 94,  165, 735, 121, 349, 440, 321, 670, 1097, 281, 473,
    547, 626, 262, 26,  97,  48,  144, 73,  36,  4,   190, 174, 32,  64,  201,  4};

uint8_t SmallLetter(int index) {
  return index == 32 ? uint8_t{0xB8} : static_cast<uint8_t>(0xE0 + index);
}

uint8_t CapitalOf(uint8_t small) {
  return small == 0xB8 ? uint8_t{0xA8} : static_cast<uint8_t>(small - 0x20);
}

constexpr std::array<std::string_view, 8> kAsciiWords = {
    "Windows", "KOI8-R", "http://example.org", "e-mail", "OK", "C++", "ASCII", "2024"};

}  // namespace

std::string MakeMixedWin1251Text(size_t size) {
  std::mt19937 rng(20240601);
  std::discrete_distribution<int> letter(kLetterWeights.begin(), kLetterWeights.end());
  std::uniform_int_distribution<int> word_length(1, 11);
  std::uniform_int_distribution<int> percent(0, 99);

  std::string text;
  text.reserve(size + 64);
  bool sentence_start = true;
  size_t line_start = 0;
  while (text.size() < size) {
    const int kind = percent(rng);
    if (kind < 8) {
      text += kAsciiWords[static_cast<size_t>(rng()) % kAsciiWords.size()];
    } else if (kind < 10) {
      text += std::to_string(rng() % 10000);
    } else {
      const bool guillemets = kind == 10;
      if (guillemets) text += '\xAB';
      const int n = word_length(rng);
      for (int i = 0; i < n; ++i) {
        const uint8_t small = SmallLetter(letter(rng));
        text += static_cast<char>(sentence_start && i == 0 ? CapitalOf(small) : small);
      }
      if (guillemets) text += '\xBB';
    }
    sentence_start = false;
    const int after = percent(rng);
    if (after < 6) {
      text += ". ";
      sentence_start = true;
    } else if (after < 12) {
      text += ", ";
    } else if (after < 13) {
      text += " \x97 ";  // em dash
    } else {
      text += ' ';
    }
    if (text.size() - line_start > 70) {
      text += "\r\n";
      line_start = text.size();
    }
  }
  text.resize(size);
  return text;
}

}  // namespace lirvane::bench
