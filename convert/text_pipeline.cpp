#include "convert/text_pipeline.h"

namespace lirvane {

void TextPipeline::Feed(std::string_view piece, std::string& out) { Run(piece, 0, out); }

void TextPipeline::Finish(std::string& out) {
  out.clear();
  // Each step's tail goes through the steps after it, which then finish.
  for (size_t i = 0; i < stages_.size(); ++i) {
    std::string tail;
    stages_[i]->Finish(tail);
    std::string produced;
    Run(tail, i + 1, produced);
    out += produced;
  }
}

void TextPipeline::Run(std::string_view piece, size_t first, std::string& out) {
  out.clear();
  if (first >= stages_.size()) {
    out.assign(piece);
    return;
  }
  std::string_view input = piece;
  for (size_t i = first; i < stages_.size(); ++i) {
    std::string& target = i + 1 == stages_.size() ? out : between_[i % 2];
    target.clear();
    stages_[i]->Feed(input, target);
    input = target;
  }
}

}  // namespace lirvane
