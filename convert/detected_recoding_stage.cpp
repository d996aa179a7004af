#include "convert/detected_recoding_stage.h"

#include "recode/code_pages.h"
#include "recode/detect_recoding.h"
#include "recode/repair.h"

namespace lirvane {

void DetectedRecodingStage::Feed(std::string_view piece, std::string& out) {
  if (pass_through_) {
    out.append(piece);
    return;
  }
  held_ += piece;
  while (!pass_through_ && held_.size() >= kDetectSampleBytes) {
    const size_t end = RepairPartEnd(held_);
    Process(std::string_view(held_).substr(0, end), out);
    held_.erase(0, end);
  }
  if (pass_through_) {
    out += held_;
    held_.clear();
  }
}

void DetectedRecodingStage::Finish(std::string& out) {
  if (pass_through_ || !decided_ || !held_.empty()) {
    if (!pass_through_)
      Process(held_, out);
    else
      out += held_;
  }
  held_.clear();
  if (question_marks_ > 0)
    sink_.Show(MessageKind::kNote, std::to_string(question_marks_) +
                                       " characters Windows-1251 has no byte for were "
                                       "written as '?'");
}

void DetectedRecodingStage::Process(std::string_view part, std::string& out) {
  const Repair r = RepairBytes(part);
  if (!decided_) {
    decided_ = true;
    // Already what the target wants: the text goes through byte for byte.
    const bool in_target_form =
        into_utf8_ ? r.source_page == CodePageId::kUtf8 : r.source_page == CodePageId::kWin1251;
    pass_through_ = !r.changed && in_target_form;
    if (pass_through_) {
      sink_.Show(MessageKind::kNote, r.description + "; the text is written unchanged");
      out.append(part);
      return;
    }
  }
  if (into_utf8_) {
    out += r.text;
    return;
  }
  const auto text = Utf8ToU32(r.text);
  for (char32_t c : *text) {
    const int b = EncodeChar(CodePageId::kWin1251, c);
    if (b < 0) ++question_marks_;
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
}

}  // namespace lirvane
