// Counts a file's lines by kind (ASCII, UTF-8, or with a byte no UTF-8
// has) as it is read piece by piece: what the folder commands learn of the
// part of a file they do not weigh, at the speed of reading it.
#pragma once

#include <cstddef>
#include <string_view>

namespace lirvane {

struct LineScan {
  size_t lines = 0;
  size_t utf8_lines = 0;       // lines with non-ASCII, all well-formed UTF-8
  size_t eight_bit_lines = 0;  // lines with a byte that is no UTF-8
  bool nul = false;

  size_t NonAsciiLines() const { return utf8_lines + eight_bit_lines; }

  // The next piece of the text; a line may run on into the next piece.
  void Scan(std::string_view piece);
  // After the last piece.
  void End();

 private:
  // The current line, cut by a piece's end.
  bool ended_with_break_ = true;
  bool non_ascii_ = false;
  bool malformed_ = false;
  int need_ = 0;                            // continuation bytes still expected
  unsigned char low_ = 0x80, high_ = 0xBF;  // the next continuation byte's range

  void EndLine();
  bool AtLineStart() const;
  void ScanWholeLines(std::string_view text, bool well_formed);
  void ScanBytes(std::string_view piece);
};

LineScan ScanOf(std::string_view text);

}  // namespace lirvane
