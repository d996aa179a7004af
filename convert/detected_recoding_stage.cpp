#include "convert/detected_recoding_stage.h"

#include <memory>

#include "recode/codepage.h"
#include "recode/detect_describe.h"
#include "recode/detect_recoding.h"
#include "recode/recode_stream.h"
#include "recode/utf8_cp1251.h"

namespace lirvane {

void DetectedRecodingStage::Feed(std::string_view piece, std::string& out) {
  if (decided_) return Pass(piece, out);
  held_ += piece;
  if (held_.size() >= kDetectSampleBytes) Decide(out);
}

void DetectedRecodingStage::Finish(std::string& out) {
  if (!decided_) Decide(out);
  std::string tail;
  chain_.Finish(tail);
  out += tail;
}

void DetectedRecodingStage::Decide(std::string& out) {
  decided_ = true;
  const Detection detection = DetectRecoding(held_);
  if (!detection.judged) {
    // The target gets the text as it came: no chain, and no UTF-8 step.
    sink_.Show(MessageKind::kNote, Windows1251ToUtf8(DescribeDetection(detection)) +
                                       "; the text is written unchanged");
  } else {
    for (int32_t code : detection.chain)
      chain_.Add(std::make_unique<StreamStage<RecodeStream>>(code));
    if (into_utf8_) chain_.Add(std::make_unique<StreamStage<RecodeStream>>(-kCodeUtf8));
  }
  std::string held;
  held.swap(held_);
  Pass(held, out);
}

void DetectedRecodingStage::Pass(std::string_view piece, std::string& out) {
  chain_.Feed(piece, passed_);
  out += passed_;
}

}  // namespace lirvane
