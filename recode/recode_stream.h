// One code applied to a text that arrives piece by piece, in constant
// memory. The 8-bit codes need no memory between pieces; UTF-8 keeps a
// character cut off at the end of a piece for the next, and drops a
// byte-order mark only at the very start of the whole text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lirvane {

class RecodeStream {
 public:
  explicit RecodeStream(int32_t code) : code_(code) {}

  // Appends the recoded piece to `out`.
  void Feed(std::string_view piece, std::string& out);

  // Appends what the stream still holds (the bytes of a cut-off sequence,
  // as '?' each).
  void Finish(std::string& out);

  int32_t code() const { return code_; }

 private:
  void FeedUtf8(std::string_view piece, std::string& out);

  int32_t code_;
  bool started_ = false;  // a byte-order mark is no longer looked for
  std::string carry_;     // the start of a UTF-8 sequence or of the mark
};

}  // namespace lirvane
