// Cuts a stream of pieces into runs of whole lines, so that a line-by-line
// repair never sees half a line; a line longer than kLongestRun is cut
// between two characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lirvane {

class WholeLines {
 public:
  static constexpr size_t kLongestRun = size_t{1} << 20;

  // Calls give(std::string_view) with each run of whole lines complete so
  // far; stops and returns false as soon as give does.
  template <typename Give>
  bool Feed(std::string_view piece, Give&& give) {
    carry_ += piece;
    size_t end = carry_.rfind('\n');
    if (end != std::string::npos) {
      ++end;
    } else if (carry_.size() >= kLongestRun) {
      end = CharacterBoundary();
    } else {
      return true;
    }
    const bool going = give(std::string_view(carry_).substr(0, end));
    carry_.erase(0, end);
    return going;
  }

  template <typename Give>
  bool Finish(Give&& give) {
    if (carry_.empty()) return true;
    const bool going = give(std::string_view(carry_));
    carry_.clear();
    return going;
  }

 private:
  // The end of the held text less a UTF-8 character it may cut.
  size_t CharacterBoundary() const {
    size_t end = carry_.size();
    for (int back = 0; back < 3 && end > 1; ++back) {
      const unsigned char b = static_cast<unsigned char>(carry_[end - 1]);
      if (b < 0x80) break;
      --end;
      if (b >= 0xC0) return end;  // a lead byte: cut before it
    }
    return carry_.size();
  }

  std::string carry_;
};

}  // namespace lirvane
