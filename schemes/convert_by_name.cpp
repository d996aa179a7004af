#include "schemes/convert_by_name.h"

#include <array>
#include <functional>
#include <string>
#include <system_error>
#include <utility>

#include "recode/line_breaks.h"
#include "recode/transforms.h"
#include "schemes/apply_scheme.h"
#include "schemes/conversion_target.h"
#include "schemes/file_io.h"
#include "schemes/utf8_cp1251.h"

namespace lirvane {
namespace {

using Transform = std::function<std::string(std::string_view)>;

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

Transform FindKeyword(std::string_view what) {
  using Entry = std::pair<std::string_view, std::string (*)(std::string_view)>;
  static constexpr std::array<Entry, 6> kKeywords{{
      {"notags", DeleteTags},
      {"nospases", CollapseSpaces},
      {"uppercase", UpperCaseText},
      {"lowercase", LowerCaseText},
      {"lattocyr", LatToCyr},
      {"cyrtolat", CyrToLat},
  }};
  const std::string lowered = LowerAsciiLetters(what);
  for (const auto& [keyword, transform] : kKeywords)
    if (lowered == keyword) return transform;
  return nullptr;
}

// Loads the source as a pane would, transforms it and replaces the target.
ConversionStatus ConvertWhole(std::string_view source, std::string_view target,
                              const Transform& transform, MessageSink& sink) {
  std::string text;
  if (const std::error_code error = ReadWholeFile(PathFromText(source), text)) {
    sink.Show(MessageKind::kError, IoFailureText("Cannot read", source, error));
    return ConversionStatus::kIoError;
  }
  text = transform(NormalizeLineBreaks(text));

  ConversionTarget output(target, sink);
  if (ConversionStatus status = output.Create(source); status != ConversionStatus::kOk)
    return status;
  if (ConversionStatus status = output.Write(text); status != ConversionStatus::kOk)
    return status;
  return output.Commit();
}

}  // namespace

ConversionStatus ConvertByName(std::string_view what, std::string_view source,
                               std::string_view target, const SchemeTable& table,
                               MessageSink& sink) {
  if (const TCustomCode* scheme = FindScheme(table, what)) {
    if (scheme->Count <= 0) {
      sink.Show(MessageKind::kPlain, "Условия не заданы");
      return ConversionStatus::kCommandLineError;
    }
    return ConvertWhole(
        source, target,
        [scheme](std::string_view text) { return ApplyScheme(*scheme, text); }, sink);
  }
  if (Transform transform = FindKeyword(what))
    return ConvertWhole(source, target, transform, sink);
  return ConversionStatus::kCommandLineError;
}

}  // namespace lirvane
