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
      ASSERT_EQ(Streamed(make, {all.substr(0, a), all.substr(a, b - a), all.substr(b)}), expected)
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
    "a\rb\r\nc\nd\x1A"
    "e\r\n",
    "\r",
    "x\r",
    "\n\n",
    "<  >  < \r\n  > \r  \n<",
};

// The rules written out the plain way, one character at a time: the
// whole-text functions are the streams fed once, so they cannot be the
// measure of the streams.
std::string PlainLineBreaks(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string PlainCollapseSpaces(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  return out;
}

std::string PlainDeleteTags(std::string_view text) {
  std::string out;
  bool in_tag = false;
  for (char c : text) {
    if (in_tag) {
      in_tag = c != '>';
    } else if (c == '<') {
      in_tag = true;
    } else {
      out += c;
    }
  }
  return out;
}

TEST(TransformStreamsTest, PlainRulesGiveTheseResults) {
  EXPECT_EQ(PlainLineBreaks("a\rb\r\nc\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
  EXPECT_EQ(PlainCollapseSpaces("  a  b   c d "), " a b c d ");
  EXPECT_EQ(PlainDeleteTags("x<b>y</b> z <unclosed"), "xy z ");
  EXPECT_EQ(PlainDeleteTags("<<b>c>"), "c>");
}

TEST(TransformStreamsTest, LineBreaksByTheRule) {
  for (const std::string& text : kTexts) {
    ExpectSameForEverySplit(Only<LineBreaksStream>(), PlainLineBreaks, text);
    EXPECT_EQ(NormalizeLineBreaks(text), PlainLineBreaks(text));
  }
}

TEST(TransformStreamsTest, CollapseSpacesByTheRule) {
  for (const std::string& text : kTexts) {
    ExpectSameForEverySplit(Only<CollapseSpacesStream>(), PlainCollapseSpaces, text);
    EXPECT_EQ(CollapseSpaces(text), PlainCollapseSpaces(text));
  }
}

TEST(TransformStreamsTest, DeleteTagsByTheRule) {
  for (const std::string& text : kTexts) {
    ExpectSameForEverySplit(Only<DeleteTagsStream>(), PlainDeleteTags, text);
    EXPECT_EQ(DeleteTags(text), PlainDeleteTags(text));
  }
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
    return UpperCaseText(PlainCollapseSpaces(KoiToWin(PlainDeleteTags(PlainLineBreaks(text)))));
  };
  for (const std::string& text : kTexts) ExpectSameForEverySplit(make, whole, text);
  ExpectSameForEverySplit(make, whole, "\xC1 <\xC2>  \xD7\r\n  ");
}

TEST(TransformStreamsTest, EmptyPipelinePassesTheTextOn) {
  const MakePipeline make = [] { return TextPipeline(); };
  ExpectSameForEverySplit(
      make, [](std::string_view t) { return std::string(t); }, "a\rb");
}

}  // namespace
}  // namespace lirvane
