// Every UTF-8 kernel this processor runs against the scalar code alone, on
// texts made to keep the kernels busy and to stop them at awkward places.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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
