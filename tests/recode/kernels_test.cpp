// Every recode kernel this processor runs against the scalar one, on every
// table, on every short length and alignment, in place and out of place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "recode/recode_kernels.h"
#include "recode/recode_tables.h"
#include "recode/utf8_kernels.h"

namespace lirvane {
namespace {

constexpr size_t kMaxLength = 200;
constexpr size_t kMaxOffset = 64;
constexpr size_t kGuard = 64;  // bytes of guard on each side of the output
constexpr uint8_t kGuardByte = 0xA5;

struct NamedTable {
  std::string name;
  HighHalfTable table;
};

std::vector<NamedTable> AllTables() {
  std::vector<NamedTable> tables;
  for (int32_t code : {8, -8, 866, -866, 595, -595, 111, -111}) {
    const HighHalfTable* table = TableForCode(code);
    EXPECT_NE(table, nullptr) << code;
    if (table != nullptr) tables.push_back({std::to_string(code), *table});
  }
  // A table in which every entry differs from its neighbours catches a kernel
  // that picks the wrong row or column, which the real tables (mostly
  // identity) might hide.
  std::mt19937 rng(1251);
  NamedTable random{"random", {}};
  for (auto& entry : random.table.high) entry = static_cast<uint8_t>(rng());
  tables.push_back(random);
  return tables;
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

std::vector<uint8_t> ScalarResult(const HighHalfTable& table, const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out(in.size());
  RecodeKernelScalar(table, in.data(), out.data(), in.size());
  return out;
}

// Position of the first byte in [from, to) that is not the guard byte, or
// `to`.
size_t FirstTouched(const std::vector<uint8_t>& buffer, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i)
    if (buffer[i] != kGuardByte) return i;
  return to;
}

using NamedKernel = std::pair<const char*, RecodeKernel>;

class KernelTest : public ::testing::TestWithParam<NamedKernel> {
 protected:
  RecodeKernel kernel() const { return GetParam().second; }
};

// Out of place: every table, length 0-200, input and output offsets 0-63
// each; the bytes around the output must stay as they were.
TEST_P(KernelTest, MatchesScalarAtEveryLengthAndOffset) {
  const std::vector<uint8_t> in = RandomBytes(kMaxOffset + kMaxLength, 866);
  std::vector<uint8_t> out(kGuard + kMaxOffset + kMaxLength + kGuard);
  for (const NamedTable& t : AllTables()) {
    const std::vector<uint8_t> expected = ScalarResult(t.table, in);
    for (size_t length = 0; length <= kMaxLength; ++length) {
      for (size_t in_offset = 0; in_offset < kMaxOffset; ++in_offset) {
        for (size_t out_offset = 0; out_offset < kMaxOffset; ++out_offset) {
          std::memset(out.data(), kGuardByte, out.size());
          uint8_t* dest = out.data() + kGuard + out_offset;
          kernel()(t.table, in.data() + in_offset, dest, length);
          const bool same = std::memcmp(dest, expected.data() + in_offset, length) == 0;
          const size_t end = kGuard + out_offset + length;
          const bool guards_kept =
              FirstTouched(out, 0, kGuard + out_offset) == kGuard + out_offset &&
              FirstTouched(out, end, out.size()) == out.size();
          if (!same || !guards_kept) {
            ADD_FAILURE() << "table " << t.name << ", length " << length << ", input offset "
                          << in_offset << ", output offset " << out_offset
                          << (same ? "" : ": wrong bytes")
                          << (guards_kept ? "" : ": wrote outside the output");
            return;
          }
        }
      }
    }
  }
}

TEST_P(KernelTest, MatchesScalarInPlace) {
  const std::vector<uint8_t> original = RandomBytes(kMaxOffset + kMaxLength, 595);
  std::vector<uint8_t> buffer(kGuard + kMaxOffset + kMaxLength + kGuard);
  for (const NamedTable& t : AllTables()) {
    const std::vector<uint8_t> expected = ScalarResult(t.table, original);
    for (size_t length = 0; length <= kMaxLength; ++length) {
      for (size_t offset = 0; offset < kMaxOffset; ++offset) {
        std::memset(buffer.data(), kGuardByte, buffer.size());
        uint8_t* text = buffer.data() + kGuard + offset;
        std::memcpy(text, original.data() + offset, length);
        kernel()(t.table, text, text, length);
        const size_t end = kGuard + offset + length;
        const bool same = std::memcmp(text, expected.data() + offset, length) == 0;
        const bool guards_kept = FirstTouched(buffer, 0, kGuard + offset) == kGuard + offset &&
                                 FirstTouched(buffer, end, buffer.size()) == buffer.size();
        if (!same || !guards_kept) {
          ADD_FAILURE() << "table " << t.name << ", length " << length << ", offset " << offset
                        << (same ? "" : ": wrong bytes")
                        << (guards_kept ? "" : ": wrote outside the text");
          return;
        }
      }
    }
  }
}

// All 256 byte values at every alignment, checked against the table itself:
// bytes below 0x80 stay, the others become their table entry.
TEST_P(KernelTest, MapsEveryByteValueByItsTable) {
  std::vector<uint8_t> values(512);
  for (size_t i = 0; i < 256; ++i) {
    values[i] = static_cast<uint8_t>(i);
    values[511 - i] = static_cast<uint8_t>(i);
  }
  std::vector<uint8_t> in(kMaxOffset + values.size());
  std::vector<uint8_t> out(kMaxOffset + values.size());
  for (const NamedTable& t : AllTables()) {
    for (size_t offset = 0; offset < kMaxOffset; ++offset) {
      std::memcpy(in.data() + offset, values.data(), values.size());
      kernel()(t.table, in.data() + offset, out.data() + offset, values.size());
      for (size_t i = 0; i < values.size(); ++i) {
        const uint8_t b = values[i];
        const uint8_t want = b < 0x80 ? b : t.table.high[b - 0x80];
        ASSERT_EQ(out[offset + i], want)
            << "table " << t.name << ", byte " << int{b} << ", offset " << offset;
      }
    }
  }
}

// A buffer of exactly the length, on the heap, so that the address sanitizer
// sees any read or write past either end; long enough to reach the unrolled
// loops.
TEST_P(KernelTest, StaysWithinExactBuffers) {
  const HighHalfTable& table = *TableForCode(-8);
  const std::vector<uint8_t> source = RandomBytes(4096 + 77, 111);
  const std::vector<uint8_t> expected = ScalarResult(table, source);
  for (size_t length : {size_t{1}, size_t{31}, size_t{63}, size_t{65}, size_t{255}, size_t{257},
                        size_t{1000}, source.size()}) {
    std::unique_ptr<uint8_t[]> in(new uint8_t[length]);
    std::unique_ptr<uint8_t[]> out(new uint8_t[length]);
    std::memcpy(in.get(), source.data(), length);
    kernel()(table, in.get(), out.get(), length);
    EXPECT_EQ(std::memcmp(out.get(), expected.data(), length), 0) << length;
    kernel()(table, in.get(), in.get(), length);
    EXPECT_EQ(std::memcmp(in.get(), expected.data(), length), 0) << length;
  }
}

INSTANTIATE_TEST_SUITE_P(Available, KernelTest, ::testing::ValuesIn(AvailableRecodeKernels()),
                         [](const ::testing::TestParamInfo<NamedKernel>& info) {
                           return std::string(info.param.first);
                         });

// Lengths around the fill steps and past the size that asks for huge pages.
TEST(RecodeIntoNewString, MatchesScalarAtEveryLength) {
  const std::vector<uint8_t> source = RandomBytes((size_t{5} << 20) + 3, 8);
  for (const NamedTable& t : AllTables()) {
    const std::vector<uint8_t> expected = ScalarResult(t.table, source);
    // Every short length too: a string that outgrows its inline buffer is
    // reallocated, and the result must still have exactly the text's size.
    std::vector<size_t> lengths = {size_t{65535}, size_t{65536}, size_t{65537}, size_t{3} << 17,
                                   source.size()};
    for (size_t n = 0; n <= 100; ++n) lengths.push_back(n);
    for (size_t length : lengths) {
      const std::string out = RecodeIntoNewString(
          t.table, std::string_view(reinterpret_cast<const char*>(source.data()), length));
      ASSERT_EQ(out.size(), length) << t.name;
      EXPECT_EQ(std::memcmp(out.data(), expected.data(), length), 0)
          << "table " << t.name << ", length " << length;
    }
  }
}

TEST(RecodeKernels, ScalarComesFirstAndTheBestLast) {
  const auto kernels = AvailableRecodeKernels();
  ASSERT_FALSE(kernels.empty());
  EXPECT_STREQ(kernels.front().first, "scalar");
  if (std::getenv("LIRVANE_KERNEL") == nullptr) {
    EXPECT_EQ(BestRecodeKernel(), kernels.back().second);
  }
}

// Run again by CTest with LIRVANE_KERNEL set (see CMakeLists.txt).
TEST(ForcedKernel, TheNamedKernelIsTheOneUsed) {
  const char* forced = std::getenv("LIRVANE_KERNEL");
  if (forced == nullptr) GTEST_SKIP() << "LIRVANE_KERNEL is not set";
  for (const auto& [name, kernel] : AvailableRecodeKernels())
    if (std::string_view(name) == forced) {
      EXPECT_EQ(BestRecodeKernel(), kernel);
    }
  for (const Utf8KernelPair& pair : AvailableUtf8Kernels()) {
    if (std::string_view(pair.name) != forced) continue;
    EXPECT_EQ(BestWinToUtf8Kernel(), pair.win_to_utf8);
    EXPECT_EQ(BestUtf8ToWinKernel(), pair.utf8_to_win);
  }
}

}  // namespace
}  // namespace lirvane
