// The scheme file "circuits.dat": the saved schemes
// one after the other, 22 lines each, every line ending with CR LF:
//
//   Name, Count, then for rules 1..5: From, FromName, To, ToName.
//
// Integers are decimal, a minus sign for negatives and nothing else. All
// five rules are always written, whatever Count says. Slot 0 (the work
// record) is never written.
#pragma once

#include <filesystem>
#include <string_view>
#include <string>

#include "base/message_sink.h"
#include "schemes/scheme_table.h"

namespace lirvane {

inline constexpr int kSchemeFileLines = 22;

// The scheme file to read at start (scheme_file_location.h says which):
// the user's file, or the installed starter file while the user has none.
std::filesystem::path SchemeFilePath();

enum class SchemeLoadResult {
  kLoaded,      // the whole file was read (an empty file included)
  kNotFound,    // no file: "Файл схем не найден!"
  kUnreadable,  // the file exists but cannot be read: the same message
  kBadScheme,   // stopped at a line that must hold an integer but does not
};

// Replaces the saved schemes of `table` by those of the file. A scheme with
// a bad integer line is dropped together with everything after it; the
// schemes before it stay, and the error "'<line>' is not a valid integer
// value" is shown. Whenever the file exists but was not read whole, the
// table is marked LoadIncomplete so that SaveSchemes keeps the old file.
SchemeLoadResult LoadSchemes(SchemeTable& table, const std::filesystem::path& path,
                             MessageSink& sink);

// The same for a file's content already read; the table is expected empty.
SchemeLoadResult LoadSchemesFromText(SchemeTable& table, std::string_view content,
                                     MessageSink& sink);

// Writes slots 1..Count() through a temporary file of the run's own beside
// `path` that replaces the old file in one rename, only once every line is
// written and flushed, as safely as a conversion's target
// (base/file_replace.h: a link to the file stays a link); on any failure "Ошибка записи в файл
// схем!" is shown and the old file stays as it was. If the table's load was incomplete, the old
// file is first kept as path + ".bak" (replacing an older backup), and the mark is cleared once the
// save has succeeded. Returns true when the file was written.
bool SaveSchemes(SchemeTable& table, const std::filesystem::path& path, MessageSink& sink);

// The 22 lines of one scheme, each with its CR LF.
std::string FormatSchemeLines(const TCustomCode& record);

}  // namespace lirvane
