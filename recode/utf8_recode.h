// UTF-8 as one more code page: 65001 reads UTF-8 into Windows-1251, -65001
// writes Windows-1251 as UTF-8. Unlike the 8-bit recoders the output may
// differ in length.
//
// Both directions use the one byte<->character mapping of cp1251_unicode.h,
// so Windows-1251 -> UTF-8 -> Windows-1251 gives back every byte value,
// 0x98 included. Reading UTF-8, a character Windows-1251 has no byte for
// becomes '?', and so does each byte of a malformed sequence; a byte-order
// mark at the very start is dropped. Writing adds no byte-order mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recode/codepage.h"
#include "recode/utf8_kernels.h"

namespace lirvane {

std::string Utf8ToWin(std::string_view text);  // code 65001
std::string WinToUtf8(std::string_view text);  // code -65001

// The kernels behind them, for callers that feed a text piece by piece.

// Decodes `size` bytes of UTF-8 from `in` into `out` (room for `size`
// bytes) and returns the bytes written. Unless `at_end`, a well-formed
// sequence cut off by the end of the piece is left unread: `consumed` says
// how far the input was read. Does not look for a byte-order mark.
size_t Utf8ToWinPiece(const uint8_t* in, size_t size, uint8_t* out, bool at_end, size_t& consumed);
// The same with a given vector kernel (nullptr: the scalar code alone).
size_t Utf8ToWinPiece(const uint8_t* in, size_t size, uint8_t* out, bool at_end, size_t& consumed,
                      Utf8Kernel kernel);

// Bytes the UTF-8 form of a Windows-1251 text takes.
size_t Utf8SizeOfWin(const uint8_t* in, size_t size);

// Writes the UTF-8 form of `size` Windows-1251 bytes to `out`, which has
// room for Utf8SizeOfWin(in, size) + kUtf8Slack bytes; returns the bytes
// written.
inline constexpr size_t kUtf8Slack = 16;
size_t WinToUtf8Piece(const uint8_t* in, size_t size, uint8_t* out);
size_t WinToUtf8Piece(const uint8_t* in, size_t size, uint8_t* out, Utf8Kernel kernel);

// True when the text starts with a UTF-8 byte-order mark, or with a part of
// one that a longer text could complete (`complete` false).
bool StartsWithUtf8Bom(std::string_view text, bool complete = true);

}  // namespace lirvane
