// UTF-8 decoded piece by piece, cut where the input says, gives exactly what
// decoding the whole text at once gives; and so does the encoder. The
// vector validator agrees with the scalar rule.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recode/codepage.h"
#include "recode/recode.h"
#include "recode/recode_stream.h"
#include "recode/utf8.h"
#include "recode/utf8_kernels.h"

namespace {

std::string Streamed(std::string_view text, int32_t code, const uint8_t* cuts, size_t cut_count) {
  lirvane::RecodeStream stream(code);
  std::string out;
  size_t at = 0;
  for (size_t k = 0; k < cut_count && at < text.size(); ++k) {
    const size_t n = std::min<size_t>(cuts[k] % 8, text.size() - at);
    stream.Feed(text.substr(at, n), out);
    at += n;
  }
  stream.Feed(text.substr(at), out);
  stream.Finish(out);
  return out;
}

bool ScalarIsWellFormed(std::string_view text) {
  char32_t c;
  for (size_t i = 0; i < text.size();) {
    const size_t n = lirvane::DecodeUtf8(text, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first bytes choose the cuts, the rest is the text.
  const size_t cut_count = size > 0 ? std::min<size_t>(data[0] % 32, size - 1) : 0;
  const uint8_t* cuts = data + (size > 0 ? 1 : 0);
  const std::string_view text(reinterpret_cast<const char*>(cuts + cut_count),
                              size - (size > 0 ? 1 : 0) - cut_count);
  for (int32_t code : {lirvane::kCodeUtf8, -lirvane::kCodeUtf8}) {
    if (Streamed(text, code, cuts, cut_count) != lirvane::Recode(text, code)) std::abort();
  }
  // Windows-1251 through UTF-8 and back is the identity.
  if (lirvane::Recode(lirvane::Recode(text, -lirvane::kCodeUtf8), lirvane::kCodeUtf8) != text)
    std::abort();
  if (const lirvane::Utf8Validator validate = lirvane::BestUtf8Validator())
    if (validate(data, size) != ScalarIsWellFormed({reinterpret_cast<const char*>(data), size}))
      std::abort();
  return 0;
}
