// The keywords "auto" and "autoutf8": the detector decides on the first
// part of the text, and the chain it found is applied to the whole, piece
// by piece. With nothing to judge the text passes unchanged and a note on
// standard error says so.
#pragma once

#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "convert/text_pipeline.h"

namespace lirvane {

class DetectedRecodingStage : public TextStage {
 public:
  // `into_utf8`: the result is written as UTF-8 rather than Windows-1251.
  DetectedRecodingStage(bool into_utf8, MessageSink& sink)
      : into_utf8_(into_utf8), sink_(sink) {}

  void Feed(std::string_view piece, std::string& out) override;
  void Finish(std::string& out) override;

 private:
  // Detects on what was held back, builds the chain and lets the held-back
  // text through it.
  void Decide(std::string& out);
  void Pass(std::string_view piece, std::string& out);

  bool into_utf8_;
  MessageSink& sink_;
  bool decided_ = false;
  std::string held_;  // the text until the decision
  TextPipeline chain_;
  std::string passed_;
};

}  // namespace lirvane
