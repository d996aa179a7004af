#include "recode/recode_stream.h"

#include "recode/recode.h"
#include "recode/utf8_recode.h"

namespace lirvane {

void RecodeStream::Feed(std::string_view piece, std::string& out) {
  if (code_ == kCodeUtf8) return FeedUtf8(piece, out);
  const size_t at = out.size();
  if (code_ == -kCodeUtf8) {
    const auto* in = reinterpret_cast<const uint8_t*>(piece.data());
    out.resize(at + Utf8SizeOfWin(in, piece.size()) + kUtf8Slack);
    out.resize(at + WinToUtf8Piece(in, piece.size(), reinterpret_cast<uint8_t*>(out.data() + at)));
    return;
  }
  out.resize(at + piece.size());
  RecodeTo(piece, code_, out.data() + at);
}

namespace {

// Decodes `bytes` onto the end of `out`; returns how many were read (a
// sequence cut off at the end is left unread unless `at_end`).
size_t DecodeOnto(std::string_view bytes, bool at_end, std::string& out) {
  const size_t at = out.size();
  out.resize(at + bytes.size());
  size_t consumed = 0;
  const size_t written =
      Utf8ToWinPiece(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                     reinterpret_cast<uint8_t*>(out.data() + at), at_end, consumed);
  out.resize(at + written);
  return consumed;
}

}  // namespace

void RecodeStream::FeedUtf8(std::string_view piece, std::string& out) {
  size_t used = 0;
  // A byte-order mark counts only at the very start of the whole text,
  // however the first pieces are cut.
  while (!started_) {
    if (carry_.size() == 3 || !StartsWithUtf8Bom(carry_, /*complete=*/false)) {
      if (StartsWithUtf8Bom(carry_)) carry_.clear();
      started_ = true;
      break;
    }
    if (used == piece.size()) return;
    carry_.push_back(piece[used++]);
  }
  // The bytes held back from the last piece are completed one byte at a
  // time: a sequence is at most four bytes, so this stays short.
  while (!carry_.empty()) {
    carry_.erase(0, DecodeOnto(carry_, /*at_end=*/false, out));
    if (carry_.empty()) break;
    if (used == piece.size()) return;
    carry_.push_back(piece[used++]);
  }
  const std::string_view rest = piece.substr(used);
  carry_.assign(rest.substr(DecodeOnto(rest, /*at_end=*/false, out)));
}

void RecodeStream::Finish(std::string& out) {
  if (code_ == kCodeUtf8) DecodeOnto(carry_, /*at_end=*/true, out);
  carry_.clear();
  started_ = true;
}

}  // namespace lirvane
