// Recoding a text that arrives in pieces, with Recode's result whatever the
// split.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lirvane {

class RecodeStream {
 public:
  explicit RecodeStream(int32_t code);

  // Appends the recoded `piece` to `out`.
  void Feed(std::string_view piece, std::string& out);
  // Appends whatever the code still holds back at the end of the text.
  void Finish(std::string& out);

 private:
  int32_t code_;
};

}  // namespace lirvane
