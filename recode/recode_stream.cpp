#include "recode/recode_stream.h"

#include "recode/recode.h"

namespace lirvane {

// The code pages recoded so far map byte for byte: nothing is carried
// between pieces.
RecodeStream::RecodeStream(int32_t code) : code_(code) {}

void RecodeStream::Feed(std::string_view piece, std::string& out) {
  const size_t at = out.size();
  out.resize(at + piece.size());
  RecodeTo(piece, code_, out.data() + at);
}

void RecodeStream::Finish(std::string&) {}

}  // namespace lirvane
