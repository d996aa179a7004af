// Walking a text sixty-four bytes at a time, as bit masks with a bit a
// byte: the vector scans of the folder commands.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace lirvane {

// Calls block(base, masks) for each sixty-four bytes from `base` on, with
// masks_of(bytes) of them, until it returns false; the last block is padded
// with NULs, which the caller's masks must take for nothing (or mask off
// beyond the end). False when a block stopped the walk.
template <typename MasksOf, typename Block>
bool ForEachByteBlock(std::string_view text, MasksOf&& masks_of, Block&& block) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t base = 0; base < text.size(); base += 64) {
    const size_t n = std::min<size_t>(64, text.size() - base);
    if (n == 64) {
      if (!block(base, masks_of(bytes + base))) return false;
    } else {
      unsigned char tail[64] = {};
      std::memcpy(tail, bytes + base, n);
      if (!block(base, masks_of(tail))) return false;
    }
  }
  return true;
}

// The bits of a 64-bit block up to and with bit `end`.
inline uint64_t BitsThrough(int end) { return end == 63 ? ~uint64_t{0} : (uint64_t{2} << end) - 1; }

}  // namespace lirvane
