// The keywords "auto" and "autoutf8": garbled Russian text is repaired
// (recode/repair.h), each piece of some 256 KiB of whole lines decided on
// its own and line by line within it. A text the repair leaves as it is,
// already in the target's encoding, passes byte for byte; the others are
// written as UTF-8 ("autoutf8") or Windows-1251 ("auto", where characters
// it lacks become '?', and a note says how many). Line ends are kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "convert/text_pipeline.h"

namespace lirvane {

class DetectedRecodingStage : public TextStage {
 public:
  // `into_utf8`: the result is written as UTF-8 rather than Windows-1251.
  DetectedRecodingStage(bool into_utf8, MessageSink& sink) : into_utf8_(into_utf8), sink_(sink) {}

  void Feed(std::string_view piece, std::string& out) override;
  void Finish(std::string& out) override;

 private:
  void Process(std::string_view part, std::string& out);

  bool into_utf8_;
  MessageSink& sink_;
  bool decided_ = false;
  bool pass_through_ = false;
  size_t question_marks_ = 0;  // characters Windows-1251 lacks
  std::string held_;           // the text of the part being gathered
};

}  // namespace lirvane
