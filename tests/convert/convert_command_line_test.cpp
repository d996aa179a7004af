#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "recode/recode.h"
#include "convert/command_text.h"
#include "convert/convert_by_name.h"
#include "convert/convert_command_line.h"
#include "schemes/scheme_table.h"
#include "tests/support/temporary_files.h"
#include "tests/schemes/test_support.h"

namespace lirvane {
namespace {

using testing::CurrentFolder;
using testing::Error;
using testing::Message;
using testing::Plain;
using testing::ReadBytes;
using testing::RecordingSink;
using testing::TempFolder;
using testing::TemporaryFilesOf;
using testing::WriteBytes;

const Message kCommandLineError = Error("Ошибка в командной строке!");
const Message kNoRules = Plain("Условия не заданы");

// "Кои в Вин" and "Схема" in Windows-1251, as the scheme file holds them.
const std::string kKoiToWinName = "\xCA\xEE\xE8 \xE2 \xC2\xE8\xED";

TCustomCode SchemeWithRule(std::string name, int32_t from, int32_t to) {
  TCustomCode record = NewSchemeRecord(name);
  record.Count = 1;
  record.From1 = from;
  record.To1 = to;
  return record;
}

// Each test works in a fresh current folder, so names can be short and
// carry blanks exactly as a user types them.
class CommandLineTest : public ::testing::Test {
 protected:
  int Run(std::string_view command) {
    return ConvertCommandLine(" " + std::string(command), table, sink);
  }

  TempFolder folder;
  CurrentFolder here{folder.path()};
  SchemeTable table;
  RecordingSink sink;
};

TEST(CommandTextTest, BlankBeforeEachArgumentAndArgumentsWhole) {
  EXPECT_EQ(AssembleCommandText({}), "");
  EXPECT_EQ(AssembleCommandText({"-conv:a.txt[8]b.txt"}), " -conv:a.txt[8]b.txt");
  EXPECT_EQ(AssembleCommandText({"-conv:a", "[8]", "b"}), " -conv:a [8] b");
  const std::string long_name(1000, 'x');
  EXPECT_EQ(AssembleCommandText({"-conv:" + long_name}), " -conv:" + long_name);
}

TEST(CommandTextTest, ConversionPrefixInAnyCase) {
  EXPECT_TRUE(IsConversionArgument("-conv:a[8]b"));
  EXPECT_TRUE(IsConversionArgument("-CONV:"));
  EXPECT_TRUE(IsConversionArgument("-Conv:x"));
  EXPECT_FALSE(IsConversionArgument("-conv"));
  EXPECT_FALSE(IsConversionArgument("-conv;a"));
  EXPECT_FALSE(IsConversionArgument(" -conv:"));
  EXPECT_FALSE(IsConversionArgument("-fromautorun"));
}

TEST_F(CommandLineTest, ConvertsByCodeWhateverThePrefixCase) {
  for (const char* prefix : {"-conv:", "-CONV:", "-Conv:"}) {
    WriteBytes("a.txt", "\xC1\xC2\xD7\n");
    EXPECT_EQ(Run(std::string(prefix) + "a.txt[8]b.txt"), 0) << prefix;
    EXPECT_EQ(ReadBytes("b.txt"), "\xE0\xE1\xE2\n\r\n");
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(CommandLineTest, WhatPartIntegerAllowsLeadingBlanksAndSign) {
  WriteBytes("a.txt", "\xE0");
  EXPECT_EQ(Run("-conv:a.txt[ -8]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"), Recode("\xE0", -8) + "\r\n");
  EXPECT_EQ(Run("-conv:a.txt[+8]c.txt"), 0);
  EXPECT_EQ(ReadBytes("c.txt"), Recode("\xE0", 8) + "\r\n");
  // A trailing blank makes it a name, and no scheme has it.
  EXPECT_EQ(Run("-conv:a.txt[8 ]d.txt"), 2);
  EXPECT_EQ(sink.messages, (std::vector{kCommandLineError}));
  EXPECT_FALSE(std::filesystem::exists("d.txt"));
}

TEST_F(CommandLineTest, BlanksAroundBracketsBelongToTheNames) {
  WriteBytes("a.txt ", "\xC1");
  const std::string command = AssembleCommandText({"-conv:a.txt", "[8]", "b.txt"});
  EXPECT_EQ(ConvertCommandLine(command, table, sink), 0);
  EXPECT_EQ(ReadBytes(" b.txt"), "\xE0\r\n");
  EXPECT_FALSE(std::filesystem::exists("b.txt"));
}

TEST_F(CommandLineTest, LongNamesAreUsedWhole) {
  const std::string name = std::string(240, 'n') + ".txt";  // command > 256
  WriteBytes(name, "x");
  EXPECT_EQ(Run("-conv:" + name + "[0]" + name + ".out"), 0);
  EXPECT_EQ(ReadBytes(name + ".out"), "x\r\n");
}

TEST_F(CommandLineTest, MissingSourceIsReported) {
  EXPECT_EQ(Run("-conv:nope.txt[8]b.txt"), 1);
  EXPECT_EQ(sink.messages, (std::vector{Error("Исходный файл (nope.txt) не найден!")}));
  EXPECT_FALSE(std::filesystem::exists("b.txt"));
  EXPECT_TRUE(TemporaryFilesOf("b.txt").empty());
}

TEST_F(CommandLineTest, NoOpeningBracketMeansAnEmptySource) {
  WriteBytes("a.txt", "x");
  EXPECT_EQ(Run("-conv:a.txt"), 1);
  EXPECT_EQ(sink.messages, (std::vector{Error("Исходный файл () не найден!")}));
  sink.messages.clear();
  EXPECT_EQ(ConvertCommandLine("", table, sink), 1);
  EXPECT_EQ(sink.messages, (std::vector{Error("Исходный файл () не найден!")}));
}

TEST_F(CommandLineTest, FolderIsNoSourceFile) {
  std::filesystem::create_directory("dir");
  EXPECT_EQ(Run("-conv:dir[8]b.txt"), 1);
  EXPECT_EQ(sink.messages, (std::vector{Error("Исходный файл (dir) не найден!")}));
}

TEST_F(CommandLineTest, NoClosingBracketIsACommandLineError) {
  WriteBytes("a.txt", "x");
  EXPECT_EQ(Run("-conv:a.txt[8"), 2);
  EXPECT_EQ(sink.messages, (std::vector{kCommandLineError}));
  EXPECT_FALSE(std::filesystem::exists("8"));
}

TEST_F(CommandLineTest, EmptyTargetNameIsACommandLineErrorAndCreatesNothing) {
  WriteBytes("a.txt", "\xC1");
  for (const char* what : {"8", "notags"}) {
    EXPECT_EQ(Run(std::string("-conv:a.txt[") + what + "]"), 2);
    EXPECT_EQ(sink.messages, (std::vector{kCommandLineError}));
    sink.messages.clear();
  }
  EXPECT_TRUE(TemporaryFilesOf("").empty());
  EXPECT_EQ(ReadBytes("a.txt"), "\xC1");
}

TEST_F(CommandLineTest, UnknownWhatPartIsACommandLineError) {
  WriteBytes("a.txt", "x");
  EXPECT_EQ(Run("-conv:a.txt[nothing]b.txt"), 2);
  EXPECT_EQ(sink.messages, (std::vector{kCommandLineError}));
  EXPECT_FALSE(std::filesystem::exists("b.txt"));
}

TEST_F(CommandLineTest, WorkRecordShadowsASavedNewScheme) {
  // "НОВАЯ СХЕМА" saved with a rule still cannot be reached: slot 0 matches
  // first, in any letter case, and has no rules.
  table.AppendScheme(SchemeWithRule("\xCD\xCE\xC2\xC0\xDF \xD1\xD5\xC5\xCC\xC0", 8, 1251));
  WriteBytes("a.txt", "\xC1");
  for (const char* what : {"Новая схема", "НОВАЯ СХЕМА", "новая схема"}) {
    sink.messages.clear();
    EXPECT_EQ(Run(std::string("-conv:a.txt[") + what + "]b.txt"), 2) << what;
    EXPECT_EQ(sink.messages, (std::vector{kNoRules, kCommandLineError}));
  }
  EXPECT_FALSE(std::filesystem::exists("b.txt"));
  EXPECT_TRUE(TemporaryFilesOf("b.txt").empty());
}

TEST_F(CommandLineTest, SchemeWithoutRulesIsReported) {
  table.AppendScheme(NewSchemeRecord("empty"));
  table.AppendScheme(SchemeWithRule("minus", 8, 1251));
  table.Slot(2).Count = -1;
  WriteBytes("a.txt", "x");
  EXPECT_EQ(Run("-conv:a.txt[EMPTY]b.txt"), 2);
  EXPECT_EQ(Run("-conv:a.txt[minus]b.txt"), 2);
  EXPECT_EQ(sink.messages, (std::vector{kNoRules, kCommandLineError, kNoRules, kCommandLineError}));
}

TEST_F(CommandLineTest, RussianSchemeNameFromAUtf8Argument) {
  table.AppendScheme(SchemeWithRule(kKoiToWinName, 8, 1251));
  WriteBytes("a.txt", "\xC1\xC2\xD7");
  EXPECT_EQ(Run("-conv:a.txt[кОи В вИН]b.txt"), 0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(ReadBytes("b.txt"), "\xE0\xE1\xE2");
}

TEST_F(CommandLineTest, FirstOfTwoSchemesWithTheSameNameWins) {
  table.AppendScheme(SchemeWithRule("twice", 8, 1251));
  table.AppendScheme(SchemeWithRule("twice", 866, 1251));
  WriteBytes("a.txt", "\xC1");
  EXPECT_EQ(Run("-conv:a.txt[Twice]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"), Recode("\xC1", 8));
}

TEST_F(CommandLineTest, SchemeNamedLikeAKeywordIsTheScheme) {
  table.AppendScheme(SchemeWithRule("NoTags", 8, 1251));
  WriteBytes("a.txt", "<b>\xC1</b>");
  EXPECT_EQ(Run("-conv:a.txt[notags]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"), "<b>\xE0</b>");
}

TEST_F(CommandLineTest, KeywordsAfterLoweringAsciiLetters) {
  WriteBytes("a.txt", "<i>a  b</i> ghbdtn \xE0\xB8");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"NOTAGS", "a  b ghbdtn \xE0\xB8"},
      {"NoSpases", "<i>a b</i> ghbdtn \xE0\xB8"},
      {"uppercase", "<I>A  B</I> GHBDTN \xC0\xA8"},
      {"LowerCase", "<i>a  b</i> ghbdtn \xE0\xB8"},
      // "<" and ">" sit on the keys of Б and Ю.
      {"lattocyr", "\xC1\xF8\xDE\xF4  \xE8\xC1/\xF8\xDE \xEF\xF0\xE8\xE2\xE5\xF2 \xE0\xB8"},
      {"cyrtolat", "<i>a  b</i> ghbdtn f\xB8"},
  };
  for (const auto& [keyword, expected] : cases) {
    EXPECT_EQ(Run("-conv:a.txt[" + keyword + "]b.txt"), 0) << keyword;
    EXPECT_EQ(ReadBytes("b.txt"), expected) << keyword;
  }
  EXPECT_TRUE(sink.messages.empty());
  // Only ASCII letters are lowered: a Cyrillic look-alike is no keyword.
  EXPECT_EQ(Run("-conv:a.txt[notagС]b.txt"), 2);
}

TEST_F(CommandLineTest, ByNameLineBreaksBecomeCrLfAsInAPane) {
  table.AppendScheme(SchemeWithRule("copy", 1251, 1251));
  WriteBytes("a.txt",
             "a\nb\rc\r\nd\x1A"
             "e\r\n");
  EXPECT_EQ(Run("-conv:a.txt[copy]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"),
            "a\r\nb\r\nc\r\nd\x1A"
            "e\r\n");
  WriteBytes("a.txt", "");
  EXPECT_EQ(Run("-conv:a.txt[copy]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"), "");
}

TEST_F(CommandLineTest, SameFileInPlaceByCodeSchemeAndKeyword) {
  table.AppendScheme(SchemeWithRule(kKoiToWinName, 8, 1251));
  WriteBytes("a.txt", "<p>\xC1\r\n");
  EXPECT_EQ(Run("-conv:a.txt[8]a.txt"), 0);
  EXPECT_EQ(ReadBytes("a.txt"), "<p>\xE0\r\n");
  EXPECT_EQ(Run("-conv:a.txt[-8]a.txt"), 0);
  EXPECT_EQ(Run("-conv:a.txt[Кои в Вин]a.txt"), 0);
  EXPECT_EQ(ReadBytes("a.txt"), "<p>\xE0\r\n");
  EXPECT_EQ(Run("-conv:a.txt[notags]a.txt"), 0);
  EXPECT_EQ(ReadBytes("a.txt"), "\xE0\r\n");
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(TemporaryFilesOf("a.txt").empty());
}

TEST_F(CommandLineTest, ByNameTargetFailuresHaveTheirOwnStatus) {
  WriteBytes("a.txt", "x");
  EXPECT_EQ(Run("-conv:a.txt[notags]no-folder/b.txt"), 3);
  EXPECT_EQ(sink.messages, (std::vector{Error("Невозможно создать файл \"no-folder/b.txt\"!")}));
  sink.messages.clear();
  std::filesystem::create_directories("busy/inside");
  EXPECT_EQ(Run("-conv:a.txt[notags]busy"), 3);
  EXPECT_EQ(sink.messages, (std::vector{Error("Невозможно создать файл \"busy\": это папка!")}));
  EXPECT_TRUE(TemporaryFilesOf("busy").empty());
  EXPECT_TRUE(TemporaryFilesOf("busy/").empty());
}

// Each run makes a temporary file of its own and never opens one that is
// there already: a source named like a temporary file stays as it is.
TEST_F(CommandLineTest, SourceNamedLikeATemporaryFileIsNeverEmptied) {
  WriteBytes("b.txt~tmp", "\xC1 precious");
  EXPECT_EQ(Run("-conv:b.txt~tmp[8]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"), "\xE0 precious\r\n");
  EXPECT_EQ(Run("-conv:b.txt~tmp[notags]b.txt"), 0);
  EXPECT_EQ(ReadBytes("b.txt"), "\xC1 precious");
  EXPECT_EQ(ReadBytes("b.txt~tmp"), "\xC1 precious");
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(CommandLineTest, ByNameWriteFailureIsAnIoError) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  WriteBytes("a.txt", "x");
  std::filesystem::create_symlink("/dev/full", "b.txt");
  EXPECT_EQ(Run("-conv:a.txt[notags]b.txt"), 5);
  EXPECT_EQ(sink.messages, (std::vector{Error("Cannot write \"b.txt\": No space left on device")}));
  EXPECT_TRUE(std::filesystem::is_symlink("b.txt"));
}

}  // namespace
}  // namespace lirvane
