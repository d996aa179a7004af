#include "convert/convert_by_name.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>

#include "recode/recode_stream.h"
#include "recode/transform_streams.h"
#include "recode/transforms.h"
#include "convert/conversion_target.h"
#include "convert/detected_recoding_stage.h"
#include "base/file_io.h"
#include "convert/text_pipeline.h"
#include "recode/utf8_cp1251.h"

namespace lirvane {
namespace {

// First scheme whose name equals `what` with letters lowered, or nullptr.
const TCustomCode* FindScheme(const SchemeTable& table, std::string_view what) {
  const std::string wanted = LowerCaseText(ArgumentToWindows1251(what));
  for (int i = 0; i <= table.Count(); ++i)
    if (LowerCaseText(table.Slot(i).Name) == wanted) return &table.Slot(i);
  return nullptr;
}

std::string LowerAsciiLetters(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The steps of a scheme: for each rule into Windows-1251 and out of it, as
// ApplyScheme does on a whole text.
void AddScheme(TextPipeline& pipeline, const TCustomCode& scheme) {
  const int rules = std::min<int32_t>(scheme.Count, kMaxRules);
  for (int k = 1; k <= rules; ++k) {
    pipeline.Add(std::make_unique<StreamStage<RecodeStream>>(scheme.From(k)));
    // Negating INT32_MIN would overflow; it names no code page either way.
    const int32_t to = scheme.To(k);
    if (to != INT32_MIN) pipeline.Add(std::make_unique<StreamStage<RecodeStream>>(-to));
  }
}

template <typename Stream>
void AddStream(TextPipeline& pipeline, MessageSink&) {
  pipeline.Add(std::make_unique<StreamStage<Stream>>());
}

template <ByteFunctionStage::Function function>
void AddByteFunction(TextPipeline& pipeline, MessageSink&) {
  pipeline.Add(std::make_unique<ByteFunctionStage>(function));
}

template <bool into_utf8>
void AddDetectedRecoding(TextPipeline& pipeline, MessageSink& sink) {
  pipeline.Add(std::make_unique<DetectedRecodingStage>(into_utf8, sink));
}

// The keywords in the order they are tried, each with the steps it adds.
struct Keyword {
  std::string_view name;
  void (*add)(TextPipeline&, MessageSink&);
  bool keeps_line_ends = false;
};
constexpr std::array<Keyword, 8> kKeywords{{
    {"notags", AddStream<DeleteTagsStream>},
    {"nospases", AddStream<CollapseSpacesStream>},
    {"uppercase", AddByteFunction<UpperCaseText>},
    {"lowercase", AddByteFunction<LowerCaseText>},
    {"lattocyr", AddByteFunction<LatToCyr>},
    {"cyrtolat", AddByteFunction<CyrToLat>},
    {"auto", AddDetectedRecoding<false>, true},
    {"autoutf8", AddDetectedRecoding<true>, true},
}};

const Keyword* FindKeyword(std::string_view what) {
  const std::string lowered = LowerAsciiLetters(what);
  for (const Keyword& keyword : kKeywords)
    if (lowered == keyword.name) return &keyword;
  return nullptr;
}

// Pieces large enough that system calls and per-piece work vanish against
// the text's own, small enough to stay in the processor's caches.
constexpr size_t kPieceSize = size_t{256} << 10;

// Streams the source through `pipeline` into the target. The target is
// created first: when it is the source itself, the old text stays until
// the new one is complete.
ConversionStatus ConvertStreaming(std::string_view source, std::string_view target,
                                  TextPipeline& pipeline, MessageSink& sink) {
  InputFile input;
  if (const std::error_code error = input.Open(PathFromText(source))) {
    sink.Show(MessageKind::kError, IoFailureText("Cannot read", source, error));
    return ConversionStatus::kIoError;
  }
  ConversionTarget output(target, sink);
  if (ConversionStatus status = output.Create(); status != ConversionStatus::kOk) return status;

  std::string piece;
  piece.resize(input.ReadSizeHint(kPieceSize));
  std::string out;
  for (;;) {
    size_t got = 0;
    if (const std::error_code error = input.Read(piece.data(), piece.size(), got)) {
      sink.Show(MessageKind::kError, IoFailureText("Cannot read", source, error));
      return ConversionStatus::kIoError;
    }
    if (got == 0) break;
    pipeline.Feed(std::string_view(piece.data(), got), out);
    if (ConversionStatus status = output.Write(out); status != ConversionStatus::kOk) return status;
  }
  input.Close();  // the source may be the target it is about to replace
  pipeline.Finish(out);
  if (ConversionStatus status = output.Write(out); status != ConversionStatus::kOk) return status;
  return output.Commit();
}

}  // namespace

ConversionStatus ConvertByName(std::string_view what, std::string_view source,
                               std::string_view target, const SchemeTable& table,
                               MessageSink& sink) {
  // Line breaks come out as a text pane gives them: CR LF each; the
  // repair of "auto" keeps a file's own.
  TextPipeline pipeline;
  const TCustomCode* scheme = FindScheme(table, what);
  const Keyword* keyword = scheme ? nullptr : FindKeyword(what);
  if (!keyword || !keyword->keeps_line_ends)
    pipeline.Add(std::make_unique<StreamStage<LineBreaksStream>>());
  if (scheme) {
    if (scheme->Count <= 0) {
      sink.Show(MessageKind::kPlain, "Условия не заданы");
      return ConversionStatus::kCommandLineError;
    }
    AddScheme(pipeline, *scheme);
    return ConvertStreaming(source, target, pipeline, sink);
  }
  if (keyword) {
    keyword->add(pipeline, sink);
    return ConvertStreaming(source, target, pipeline, sink);
  }
  return ConversionStatus::kCommandLineError;
}

}  // namespace lirvane
