// The streaming forms of the transforms against their whole-text
// functions, for every way of cutting a text into pieces (up to three
// pieces, and pieces of every fixed size).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "recode/line_breaks.h"
#include "recode/recode.h"
#include "recode/recode_stream.h"
#include "recode/transform_streams.h"
#include "recode/transforms.h"
#include "convert/text_pipeline.h"

namespace lirvane {
namespace {

using Whole = std::function<std::string(std::string_view)>;
using MakePipeline = std::function<TextPipeline()>;

std::string Streamed(const MakePipeline& make, const std::vector<std::string_view>& pieces) {
  TextPipeline pipeline = make();
  std::string result;
  std::string out;
  for (std::string_view piece : pieces) {
    pipeline.Feed(piece, out);
    result += out;
  }
  pipeline.Finish(out);
  return result + out;
}

// Every cut into two and three pieces (empty pieces included), and every
// fixed piece size.
void ExpectSameForEverySplit(const MakePipeline& make, const Whole& whole,
                             const std::string& text) {
  const std::string expected = whole(text);
  const std::string_view all = text;
  for (size_t a = 0; a <= text.size(); ++a)
    for (size_t b = a; b <= text.size(); ++b)
      ASSERT_EQ(Streamed(make, {all.substr(0, a), all.substr(a, b - a), all.substr(b)}),
                expected)
          << "cuts at " << a << " and " << b << " of \"" << text << "\"";
  for (size_t size = 1; size <= text.size(); ++size) {
    std::vector<std::string_view> pieces;
    for (size_t at = 0; at < text.size(); at += size) pieces.push_back(all.substr(at, size));
    ASSERT_EQ(Streamed(make, pieces), expected) << "pieces of " << size;
  }
}

template <typename Stream>
MakePipeline Only() {
  return [] {
    TextPipeline pipeline;
    pipeline.Add(std::make_unique<StreamStage<Stream>>());
    return pipeline;
  };
}

const std::vector<std::string> kTexts = {
    "",
    " ",
    "  ",
    "a  b   c d",
    "   lead and trail   ",
    "<b>bold</b> text",
    "a > b <unclosed",
    "<<b>c>",
    "<a\r\n b>x< y\n>z<",
    "\r\n\r\r\n\n\r",
    "a\rb\r\nc\nd\x1A" "e\r\n",
    "\r",
    "x\r",
    "\n\n",
    "<  >  < \r\n  > \r  \n<",
};

TEST(TransformStreamsTest, LineBreaksAsNormalizeLineBreaks) {
  for (const std::string& text : kTexts)
    ExpectSameForEverySplit(Only<LineBreaksStream>(), NormalizeLineBreaks, text);
}

TEST(TransformStreamsTest, CollapseSpacesAsTheWholeText) {
  for (const std::string& text : kTexts)
    ExpectSameForEverySplit(Only<CollapseSpacesStream>(), CollapseSpaces, text);
}

TEST(TransformStreamsTest, DeleteTagsAsTheWholeText) {
  for (const std::string& text : kTexts)
    ExpectSameForEverySplit(Only<DeleteTagsStream>(), DeleteTags, text);
}

// Steps after one another hand each step's held-back tail on to the next
// before that one finishes.
TEST(TransformStreamsTest, ChainOfStepsAsTheFunctionsInTurn) {
  const MakePipeline make = [] {
    TextPipeline pipeline;
    pipeline.Add(std::make_unique<StreamStage<LineBreaksStream>>());
    pipeline.Add(std::make_unique<StreamStage<DeleteTagsStream>>());
    pipeline.Add(std::make_unique<StreamStage<RecodeStream>>(8));
    pipeline.Add(std::make_unique<StreamStage<CollapseSpacesStream>>());
    pipeline.Add(std::make_unique<ByteFunctionStage>(UpperCaseText));
    return pipeline;
  };
  const Whole whole = [](std::string_view text) {
    return UpperCaseText(CollapseSpaces(KoiToWin(DeleteTags(NormalizeLineBreaks(text)))));
  };
  for (const std::string& text : kTexts) ExpectSameForEverySplit(make, whole, text);
  ExpectSameForEverySplit(make, whole, "\xC1 <\xC2>  \xD7\r\n  ");
}

TEST(TransformStreamsTest, EmptyPipelinePassesTheTextOn) {
  const MakePipeline make = [] { return TextPipeline(); };
  ExpectSameForEverySplit(make, [](std::string_view t) { return std::string(t); }, "a\rb");
}

}  // namespace
}  // namespace lirvane
