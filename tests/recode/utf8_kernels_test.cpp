// Every UTF-8 kernel this processor runs against the scalar code alone, on
// texts made to keep the kernels busy and to stop them at awkward places.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "recode/utf8.h"
#include "recode/utf8_kernels.h"
#include "recode/utf8_recode.h"

namespace lirvane {
namespace {

// Windows-1251 text: mostly letters and ASCII, with the other high bytes
// scattered, so that blocks change kind at every offset.
std::vector<uint8_t> RandomWindows1251(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> text(size);
  for (auto& b : text) {
    const unsigned kind = rng() % 10;
    b = static_cast<uint8_t>(kind < 4   ? 0x20 + rng() % 0x5F
                             : kind < 9 ? 0xC0 + rng() % 0x40
                                        : 0x80 + rng() % 0x40);
  }
  return text;
}

// UTF-8 with Russian letters, ASCII, three- and four-byte characters and
// every kind of malformed byte, each cut wherever the block ends.
std::vector<uint8_t> RandomUtf8(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  static const std::vector<std::vector<uint8_t>> pieces = {{'a'},
                                                           {' '},
                                                           {0xD0, 0x9F},
                                                           {0xD1, 0x80},
                                                           {0xD0, 0x81},
                                                           {0xD1, 0x91},
                                                           {0xD0, 0xB0},
                                                           {0xE2, 0x80, 0x94},
                                                           {0xF0, 0x9F, 0x98, 0x80},
                                                           {0xD0},
                                                           {0xD1},
                                                           {0x80},
                                                           {0xC0, 0xAF},
                                                           {0xED, 0xA0, 0x80},
                                                           {0xFF},
                                                           {0xC2, 0xA0},
                                                           {0xD2, 0x90}};
  std::vector<uint8_t> text;
  while (text.size() < size) {
    const auto& piece = pieces[rng() % 10 < 7 ? rng() % 7 : rng() % pieces.size()];
    text.insert(text.end(), piece.begin(), piece.end());
  }
  text.resize(size);
  return text;
}

class Utf8KernelTest : public ::testing::TestWithParam<Utf8KernelPair> {};

TEST_P(Utf8KernelTest, EncodesAsTheScalarCodeDoes) {
  for (unsigned seed = 0; seed < 40; ++seed) {
    const std::vector<uint8_t> text = RandomWindows1251(seed * 7 + 1, seed);
    for (size_t start = 0; start < 3 && start < text.size(); ++start) {
      const uint8_t* in = text.data() + start;
      const size_t size = text.size() - start;
      std::vector<uint8_t> expected(Utf8SizeOfWin(in, size) + kUtf8Slack), got(expected.size());
      const size_t n = WinToUtf8Piece(in, size, expected.data(), nullptr);
      ASSERT_EQ(WinToUtf8Piece(in, size, got.data(), GetParam().win_to_utf8), n);
      ASSERT_TRUE(std::equal(got.begin(), got.begin() + n, expected.begin()))
          << seed << "/" << start;
    }
  }
}

TEST_P(Utf8KernelTest, DecodesAsTheScalarCodeDoes) {
  for (unsigned seed = 0; seed < 60; ++seed) {
    const std::vector<uint8_t> text = RandomUtf8(seed * 5 + 1, seed);
    for (bool at_end : {false, true}) {
      std::vector<uint8_t> expected(text.size()), got(text.size());
      size_t consumed_expected = 0, consumed_got = 0;
      const size_t n = Utf8ToWinPiece(text.data(), text.size(), expected.data(), at_end,
                                      consumed_expected, nullptr);
      ASSERT_EQ(Utf8ToWinPiece(text.data(), text.size(), got.data(), at_end, consumed_got,
                               GetParam().utf8_to_win),
                n);
      EXPECT_EQ(consumed_got, consumed_expected);
      ASSERT_TRUE(std::equal(got.begin(), got.begin() + n, expected.begin())) << seed;
    }
  }
}

bool ScalarIsWellFormed(const std::vector<uint8_t>& bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  char32_t c;
  for (size_t i = 0; i < text.size();) {
    const size_t n = DecodeUtf8(text, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

TEST_P(Utf8KernelTest, ValidatorAgreesWithTheScalarRule) {
  const Utf8Validator validate = GetParam().validate;
  if (!validate) GTEST_SKIP() << "the scalar code is the rule";
  // Mostly well-formed texts with a fault or two, of every length.
  for (unsigned seed = 0; seed < 3000; ++seed) {
    std::vector<uint8_t> text = RandomUtf8(seed % 97, seed);
    if (seed % 3 == 0) {
      // Russian text only: faults are rare, and then one byte.
      text.clear();
      std::mt19937 rng(seed);
      while (text.size() < seed % 200) {
        const unsigned k = rng() % 33;
        if (k == 32)
          text.push_back(' ');
        else
          text.insert(text.end(), {uint8_t(k < 16 ? 0xD0 : 0xD1), uint8_t(0x80 + k * 2)});
      }
      if (!text.empty() && seed % 2) text[rng() % text.size()] = static_cast<uint8_t>(rng());
    }
    ASSERT_EQ(validate(text.data(), text.size()), ScalarIsWellFormed(text)) << seed;
  }
  // Every sequence of two or three bytes from the interesting ranges, at
  // every place in a block and across blocks.
  const uint8_t edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
                           0xDF, 0xE0, 0xE1, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xFF};
  for (uint8_t a : edges)
    for (uint8_t b : edges)
      for (uint8_t c : edges)
        for (size_t at : {0, 5, 13, 14, 15, 16, 30, 61, 62, 63}) {
          std::vector<uint8_t> text(64, 'x');
          text[at] = a;
          if (at + 1 < text.size()) text[at + 1] = b;
          if (at + 2 < text.size()) text[at + 2] = c;
          ASSERT_EQ(validate(text.data(), text.size()), ScalarIsWellFormed(text))
              << int(a) << " " << int(b) << " " << int(c) << " at " << at;
        }
}

INSTANTIATE_TEST_SUITE_P(Available, Utf8KernelTest, ::testing::ValuesIn(AvailableUtf8Kernels()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8Kernels, ScalarComesFirst) {
  const std::vector<Utf8KernelPair> kernels = AvailableUtf8Kernels();
  ASSERT_FALSE(kernels.empty());
  EXPECT_STREQ(kernels.front().name, "scalar");
  EXPECT_EQ(kernels.front().win_to_utf8, nullptr);
}

}  // namespace
}  // namespace lirvane
