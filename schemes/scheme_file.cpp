#include "schemes/scheme_file.h"

#include <optional>
#include <string_view>
#include <system_error>

#include "base/file_io.h"
#include "base/file_replace.h"
#include "base/integer_text.h"
#include "schemes/scheme_file_location.h"
#include "schemes/text_lines.h"
#include "recode/utf8_cp1251.h"

namespace lirvane {
namespace {

constexpr std::string_view kNotFoundMessage = "Файл схем не найден!";
constexpr std::string_view kWriteFailedMessage = "Ошибка записи в файл схем!";

// Reads one scheme; nullopt (after showing the error) at a bad integer line.
std::optional<TCustomCode> ReadScheme(TextLineReader& lines, MessageSink& sink) {
  TCustomCode record;
  bool bad = false;
  const auto read_integer = [&](int32_t& field) {
    if (bad) return;
    const std::string_view line = lines.NextLine();
    if (const std::optional<int32_t> value = ParseIntegerText(line)) {
      field = *value;
      return;
    }
    bad = true;
    sink.Show(MessageKind::kError,
              "'" + Windows1251ToUtf8(line) + "' is not a valid integer value");
  };
  const auto read_text = [&](std::string& field) {
    if (!bad) field = std::string(lines.NextLine());
  };

  read_text(record.Name);
  read_integer(record.Count);
  for (int k = 1; k <= kMaxRules; ++k) {
    read_integer(record.From(k));
    read_text(record.FromName(k));
    read_integer(record.To(k));
    read_text(record.ToName(k));
  }
  if (bad) return std::nullopt;
  return record;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

}  // namespace

std::filesystem::path SchemeFilePath() { return FindSchemeFileLocation().FileToRead(); }

std::string FormatSchemeLines(const TCustomCode& record) {
  std::string out;
  AppendLine(out, record.Name);
  AppendLine(out, std::to_string(record.Count));
  for (int k = 1; k <= kMaxRules; ++k) {
    AppendLine(out, std::to_string(record.From(k)));
    AppendLine(out, record.FromName(k));
    AppendLine(out, std::to_string(record.To(k)));
    AppendLine(out, record.ToName(k));
  }
  return out;
}

SchemeLoadResult LoadSchemes(SchemeTable& table, const std::filesystem::path& path,
                             MessageSink& sink) {
  table.ClearSchemes();
  table.SetLoadIncomplete(false);

  std::string content;
  if (const std::error_code error = ReadWholeFile(path, content)) {
    sink.Show(MessageKind::kPlain, kNotFoundMessage);
    std::error_code ignored;
    if (error == std::errc::no_such_file_or_directory || !std::filesystem::exists(path, ignored))
      return SchemeLoadResult::kNotFound;
    // Something is there that we could not read; never overwrite it blindly.
    table.SetLoadIncomplete(true);
    return SchemeLoadResult::kUnreadable;
  }

  return LoadSchemesFromText(table, content, sink);
}

SchemeLoadResult LoadSchemesFromText(SchemeTable& table, std::string_view content,
                                     MessageSink& sink) {
  TextLineReader lines(content);
  while (!lines.AtEnd()) {
    std::optional<TCustomCode> record = ReadScheme(lines, sink);
    if (!record) {
      table.SetLoadIncomplete(true);
      return SchemeLoadResult::kBadScheme;
    }
    table.AppendScheme(std::move(*record));
  }
  return SchemeLoadResult::kLoaded;
}

bool SaveSchemes(SchemeTable& table, const std::filesystem::path& path, MessageSink& sink) {
  if (path.empty()) {
    sink.Show(MessageKind::kPlain, kWriteFailedMessage);
    return false;
  }
  std::string content;
  for (int i = 1; i <= table.Count(); ++i) content += FormatSchemeLines(table.Slot(i));

  std::error_code ignored;
  if (table.LoadIncomplete() && std::filesystem::exists(path, ignored)) {
    // The old file holds schemes this run never saw: keep it before it goes.
    std::filesystem::path backup = path;
    backup += ".bak";
    if (CopyOver(path, backup)) {
      sink.Show(MessageKind::kPlain, kWriteFailedMessage);
      return false;
    }
  }

  // A temporary file of the run's own, flushed before it takes the name,
  // so that two copies exiting together never mix their lines and a
  // symbolic link to the scheme file stays a link.
  if (ReplaceFileWith(path, content)) {
    sink.Show(MessageKind::kPlain, kWriteFailedMessage);
    return false;
  }
  table.SetLoadIncomplete(false);
  return true;
}

}  // namespace lirvane
