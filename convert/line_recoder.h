// The line-by-line recoding of a file, fed block by block so that memory
// stays flat whatever the file's size.
//
// A line ends at a CR, and one LF directly after it is skipped (also when
// the LF starts the next block); an LF without a CR before it stays in the
// line. A byte 0x1A ends the input. Every line written ends with CR LF, the
// last one included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lirvane {

class LineRecoder {
 public:
  explicit LineRecoder(int32_t code) : code_(code) {}

  // Bytes FeedView may write to `out` for `size` input bytes.
  static constexpr size_t OutputCapacity(size_t size) { return 2 * size + 2; }

  // Recodes `in` in place and returns the block's lines with their line
  // ends (input after a 0x1A is left out): a part of `in` itself where its
  // lines already end in CR LF, else written to `out` (at least
  // OutputCapacity(size) bytes).
  std::string_view FeedView(char* in, size_t size, char* out);

  // Ends the last line if it has no line end yet; returns the bytes written
  // to `out` (room for 2).
  size_t Finish(char* out);

  // True once a 0x1A was met: nothing more needs to be read.
  bool Ended() const { return ended_; }

 private:
  // Cuts the block at a 0x1A, recodes it and skips an LF that completes a
  // CR of the block before; returns where the lines start. `crlf_only`
  // tells whether every CR left has its LF right after it in the block.
  const char* Prepare(char* in, size_t& size, bool& crlf_only);
  // Writes the lines of [p, end) with their line ends to `out`.
  size_t CopyLines(const char* p, const char* end, char* out);

  int32_t code_;
  bool ended_ = false;
  bool skip_lf_ = false;    // the previous block ended with a CR
  bool line_open_ = false;  // bytes written since the last line end
};

}  // namespace lirvane
