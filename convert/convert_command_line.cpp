#include "convert/convert_command_line.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "convert/convert_by_code.h"
#include "convert/convert_by_name.h"
#include "base/file_io.h"
#include "base/integer_text.h"

namespace lirvane {
namespace {

constexpr size_t kPrefixLength = 7;  // " -conv:"

// Anything that can be read as a file: a regular file, a FIFO, a device,
// /dev/stdin from a pipe; not a folder.
bool IsExistingFile(std::string_view name) {
  if (name.empty()) return false;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PathFromText(name), error);
  return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

int ToExit(ConversionStatus status) { return static_cast<int>(status); }

}  // namespace

int ConvertCommandLine(std::string_view command_text, const SchemeTable& table, MessageSink& sink) {
  return ConvertCommandLine(
      command_text, [&table](MessageSink&) -> const SchemeTable& { return table; }, sink);
}

int ConvertCommandLine(std::string_view command_text, const SchemeTableSource& schemes,
                       MessageSink& sink) {
  std::string_view rest =
      command_text.size() > kPrefixLength ? command_text.substr(kPrefixLength) : "";

  const size_t open = rest.find('[');
  const std::string_view source =
      open == std::string_view::npos ? std::string_view() : rest.substr(0, open);
  if (!IsExistingFile(source)) {
    sink.Show(MessageKind::kError, "Исходный файл (" + std::string(source) + ") не найден!");
    return ToExit(ConversionStatus::kSourceNotFound);
  }
  rest.remove_prefix(open + 1);

  const size_t close = rest.find(']');
  std::string_view what;
  if (close != std::string_view::npos) {
    what = rest.substr(0, close);
    rest.remove_prefix(close + 1);
  }
  const std::string_view target = rest;
  // No target name: nothing to write, and nothing is created.
  if (target.empty()) {
    sink.Show(MessageKind::kError, "Ошибка в командной строке!");
    return ToExit(ConversionStatus::kCommandLineError);
  }

  if (const std::optional<int32_t> code = ParseIntegerText(what))
    return ToExit(ConvertFileByCode(source, target, *code, sink));

  const ConversionStatus status = ConvertByName(what, source, target, schemes(sink), sink);
  if (status == ConversionStatus::kCommandLineError)
    sink.Show(MessageKind::kError, "Ошибка в командной строке!");
  return ToExit(status);
}

}  // namespace lirvane
