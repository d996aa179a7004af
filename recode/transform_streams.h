// Streaming forms of the transforms whose result for a byte depends on the
// bytes around it: fed a text piece by piece, each gives for any split what
// it gives for the whole text in one piece, which is how the whole-text
// functions (transforms.h, line_breaks.h) are made. All share one shape: Feed appends the result of
// one piece to `out`, Finish appends what was held back at the end.
#pragma once

#include <string>
#include <string_view>

namespace lirvane {

// NormalizeLineBreaks: a CR at the end of one piece and an LF at the start
// of the next are one line break.
class LineBreaksStream {
 public:
  void Feed(std::string_view piece, std::string& out);
  void Finish(std::string&) { after_cr_ = false; }

 private:
  bool after_cr_ = false;
};

// CollapseSpaces: a run of spaces may continue into the next piece, so its
// one space is written when the run ends.
class CollapseSpacesStream {
 public:
  void Feed(std::string_view piece, std::string& out);
  void Finish(std::string& out);

 private:
  bool in_run_ = false;
};

// DeleteTags: a tag opened in one piece may close in a later one; one never
// closed drops the rest of the text.
class DeleteTagsStream {
 public:
  void Feed(std::string_view piece, std::string& out);
  void Finish(std::string&) { in_tag_ = false; }

 private:
  bool in_tag_ = false;
};

}  // namespace lirvane
