// A chain of streaming steps that a text runs through piece by piece, so a
// conversion by name holds a few pieces in memory whatever the file's size.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lirvane {

// One step. Feed appends the result of one piece to `out`; Finish appends
// what the step held back for the end of the text.
class TextStage {
 public:
  virtual ~TextStage() = default;
  virtual void Feed(std::string_view piece, std::string& out) = 0;
  virtual void Finish(std::string& out) = 0;
};

// Any class with that Feed and Finish (RecodeStream, the transform
// streams) as a step.
template <typename Stream>
class StreamStage : public TextStage {
 public:
  template <typename... Args>
  explicit StreamStage(Args&&... args) : stream_(std::forward<Args>(args)...) {}
  void Feed(std::string_view piece, std::string& out) override { stream_.Feed(piece, out); }
  void Finish(std::string& out) override { stream_.Finish(out); }

 private:
  Stream stream_;
};

// A whole-text function that maps each byte on its own, as a step.
class ByteFunctionStage : public TextStage {
 public:
  using Function = std::string (*)(std::string_view);
  explicit ByteFunctionStage(Function function) : function_(function) {}
  void Feed(std::string_view piece, std::string& out) override { out += function_(piece); }
  void Finish(std::string&) override {}

 private:
  Function function_;
};

class TextPipeline {
 public:
  void Add(std::unique_ptr<TextStage> stage) { stages_.push_back(std::move(stage)); }

  // Replaces `out` with what the last step gives for `piece`.
  void Feed(std::string_view piece, std::string& out);
  // Replaces `out` with what the steps give at the end of the text.
  void Finish(std::string& out);

 private:
  // Feeds `piece` to the steps from `first` on.
  void Run(std::string_view piece, size_t first, std::string& out);

  std::vector<std::unique_ptr<TextStage>> stages_;
  std::string between_[2];  // handed from one step to the next
};

}  // namespace lirvane
