#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "schemes/apply_scheme.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_table.h"
#include "tests/schemes/test_support.h"

namespace lirvane {
namespace {

using testing::Error;
using testing::Plain;
using testing::ReadBytes;
using testing::RecordingSink;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kNotFound = "Файл схем не найден!";
const std::string kWriteFailed = "Ошибка записи в файл схем!";

// One scheme's 22 lines: a rule KOI-8-R to Win-1251, four unused rules.
std::string KoiScheme(std::string_view name) {
  std::string lines = std::string(name) + "\r\n1\r\n8\r\nKOI-8-R\r\n1251\r\nWin-1251\r\n";
  for (int k = 2; k <= 5; ++k) lines += "0\r\n\r\n0\r\n\r\n";
  return lines;
}

TCustomCode Scheme(std::string_view name, int32_t count) {
  TCustomCode record = NewSchemeRecord(name);
  record.Count = count;
  return record;
}

// Files of the temporary names a save uses, left in `folder`.
int TemporaryFilesIn(const std::filesystem::path& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find("~tmp") != std::string::npos) ++count;
  return count;
}

class SchemeFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::filesystem::path path = folder / "circuits.dat";
  RecordingSink sink;
};

TEST_F(SchemeFileTest, WritesTwentyTwoCrLfLinesPerSchemeInFileOrder) {
  SchemeTable table;
  table.WorkRecord().Count = 1;
  table.WorkRecord().From1 = 8;
  table.WorkRecord().FromName1 = "KOI-8-R";
  table.WorkRecord().To1 = 1251;
  table.WorkRecord().ToName1 = "Win-1251";
  table.AddScheme("one");
  table.AddScheme("two");
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_EQ(ReadBytes(path), KoiScheme("one") + KoiScheme("two"));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(TemporaryFilesIn(folder.path()), 0);
}

TEST_F(SchemeFileTest, NoSavedSchemesGiveAnEmptyFile) {
  SchemeTable table;
  WriteBytes(path, KoiScheme("old"));
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(SchemeFileTest, RoundTripKeepsEveryFieldAsItWas) {
  SchemeTable table;
  TCustomCode odd = Scheme("  blanks around  ", 7);  // Count above five
  for (int k = 1; k <= 5; ++k) {
    odd.From(k) = k % 2 ? -8 : 12345;  // codes the editor never writes
    odd.To(k) = k == 5 ? INT32_MIN : INT32_MAX;
    odd.FromName(k) = " cap " + std::to_string(k);
    odd.ToName(k) = k == 3 ? "" : "\xCA\xCE\xC8";
  }
  table.AppendScheme(odd);
  table.AppendScheme(Scheme("", 0));                       // empty name
  table.AppendScheme(Scheme("\xD1\xF5\xE5\xEC\xE0", -3));  // "Схема", negative Count
  table.AppendScheme(Scheme("lone\nLF inside", 2));
  table.AppendScheme(Scheme(std::string("nul\0byte", 8), 1));
  ASSERT_TRUE(SaveSchemes(table, path, sink));

  SchemeTable loaded;
  EXPECT_EQ(LoadSchemes(loaded, path, sink), SchemeLoadResult::kLoaded);
  EXPECT_TRUE(sink.messages.empty());
  ASSERT_EQ(loaded.Count(), table.Count());
  for (int i = 0; i <= table.Count(); ++i) EXPECT_EQ(loaded.Slot(i), table.Slot(i)) << i;
  EXPECT_FALSE(loaded.LoadIncomplete());
}

TEST_F(SchemeFileTest, LoadingReplacesEarlierSchemesAndKeepsWorkRecord) {
  SchemeTable table;
  table.AddScheme("stale");
  table.WorkRecord().Count = 2;
  WriteBytes(path, KoiScheme("fresh"));
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Slot(1).Name, "fresh");
  EXPECT_EQ(table.WorkRecord().Count, 2);
}

TEST_F(SchemeFileTest, EmptyFileHasNoSchemesAndNoMessage) {
  WriteBytes(path, "");
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SchemeFileTest, MissingFileIsReportedOnceAndCreatedAtSave) {
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kNotFound);
  EXPECT_EQ(sink.messages, (std::vector{Plain(kNotFound)}));
  EXPECT_FALSE(table.LoadIncomplete());

  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(folder / "circuits.dat.bak"));
  sink.messages.clear();
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SchemeFileTest, FileThatCannotBeReadIsNeverOverwrittenBlindly) {
  std::filesystem::create_directory(path);  // there, but not a readable file
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kUnreadable);
  EXPECT_EQ(sink.messages, (std::vector{Plain(kNotFound)}));
  EXPECT_TRUE(table.LoadIncomplete());
}

TEST_F(SchemeFileTest, LineEndsAnd0x1AAsInATextFile) {
  // Lone CRs end lines too; 0x1A ends the file, whatever follows.
  std::string scheme = KoiScheme("a");
  std::string cr_only;
  for (char c : scheme)
    if (c != '\n') cr_only.push_back(c);
  WriteBytes(path, cr_only + "\x1A" + KoiScheme("after"));
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Slot(1).Name, "a");
  EXPECT_EQ(table.Slot(1).ToName1, "Win-1251");
}

TEST_F(SchemeFileTest, IntegerLinesMayHaveLeadingBlanksAndSign) {
  std::string lines = "n\r\n  +1\r\n -8\r\nx\r\n0001251\r\ny\r\n";
  for (int k = 2; k <= 5; ++k) lines += "0\r\n\r\n0\r\n\r\n";
  WriteBytes(path, lines);
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Slot(1).Count, 1);
  EXPECT_EQ(table.Slot(1).From1, -8);
  EXPECT_EQ(table.Slot(1).To1, 1251);
}

TEST_F(SchemeFileTest, FileEndingAfterLine21IsComplete) {
  std::string lines = KoiScheme("first") + KoiScheme("last");
  lines.resize(lines.size() - 2);  // drop the last caption's CR LF: 21 lines
  WriteBytes(path, lines);
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  EXPECT_TRUE(sink.messages.empty());
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Slot(2).ToName5, "");

  lines.resize(lines.size() - 2);  // now line 21 ("0") ends without CR LF
  WriteBytes(path, lines);
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  EXPECT_EQ(table.Count(), 2);
}

TEST_F(SchemeFileTest, EmptyLineAfterLastSchemeIsABadInteger) {
  WriteBytes(path, KoiScheme("only") + "\r\n");
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kBadScheme);
  EXPECT_EQ(sink.messages, (std::vector{Error("'' is not a valid integer value")}));
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Slot(1).Name, "only");
}

TEST_F(SchemeFileTest, FileEndingBeforeAnIntegerLineIsABadInteger) {
  std::string lines = KoiScheme("cut");
  lines.resize(lines.find("KOI-8-R"));  // ends after the From1 line
  WriteBytes(path, KoiScheme("whole") + lines);
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kBadScheme);
  EXPECT_EQ(sink.messages, (std::vector{Error("'' is not a valid integer value")}));
  EXPECT_EQ(table.Count(), 1);
}

class BadSchemeFileTest : public SchemeFileTest {
 protected:
  void SetUp() override {
    std::string bad = KoiScheme("bad");
    bad.replace(bad.find("\r\n8\r\n") + 2, 1, "\xE4\xE2\xE0");  // "два" for 8
    old_file = KoiScheme("good") + bad + KoiScheme("after");
    WriteBytes(path, old_file);
    ASSERT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kBadScheme);
  }
  std::filesystem::path backup = folder / "circuits.dat.bak";
  std::string old_file;
  SchemeTable table;
};

TEST_F(BadSchemeFileTest, KeepsSchemesBeforeTheBadOneAndNamesTheText) {
  EXPECT_EQ(sink.messages, (std::vector{Error("'два' is not a valid integer value")}));
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Slot(1).Name, "good");
  EXPECT_TRUE(table.LoadIncomplete());
}

TEST_F(BadSchemeFileTest, FirstSaveKeepsTheOldFileAsBackup) {
  WriteBytes(backup, "an older backup");
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_EQ(ReadBytes(backup), old_file);
  EXPECT_EQ(ReadBytes(path), KoiScheme("good"));
  EXPECT_FALSE(table.LoadIncomplete());

  // Later saves of the same run replace only the scheme file.
  table.AddScheme("new");
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_EQ(ReadBytes(backup), old_file);
}

TEST_F(BadSchemeFileTest, FailedSaveKeepsTheIncompleteMark) {
  // Something that can be neither kept nor replaced now stands in its place.
  std::filesystem::remove(path);
  std::filesystem::create_directories(path / "inside");
  EXPECT_FALSE(SaveSchemes(table, path, sink));
  EXPECT_TRUE(table.LoadIncomplete());
  EXPECT_TRUE(std::filesystem::is_directory(path / "inside"));
}

TEST_F(SchemeFileTest, LoadingAWholeFileClearsTheIncompleteMark) {
  SchemeTable table;
  table.SetLoadIncomplete(true);
  WriteBytes(path, KoiScheme("fine"));
  EXPECT_EQ(LoadSchemes(table, path, sink), SchemeLoadResult::kLoaded);
  EXPECT_FALSE(table.LoadIncomplete());
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_FALSE(std::filesystem::exists(folder / "circuits.dat.bak"));
}

// Running as root, permission bits stop nothing; these paths fail for all.
TEST_F(SchemeFileTest, SaveIntoMissingFolderFailsWithMessage) {
  SchemeTable table;
  table.AddScheme("x");
  EXPECT_FALSE(SaveSchemes(table, folder / "no-such-folder" / "circuits.dat", sink));
  EXPECT_EQ(sink.messages, (std::vector{Plain(kWriteFailed)}));
}

// Two copies exiting together once wrote through one fixed temporary name;
// each now has its own, and a file of that old name is nobody's business.
TEST_F(SchemeFileTest, AFixedTemporaryNameIsNeverWrittenThrough) {
  WriteBytes(folder / "victim", "untouched");
  std::error_code no_links;
  std::filesystem::create_symlink(folder / "victim", folder / "circuits.dat~tmp", no_links);
  if (no_links) GTEST_SKIP() << "no symbolic links here: " << no_links.message();
  SchemeTable table;
  table.AddScheme("new");
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_EQ(ReadBytes(path), FormatSchemeLines(table.Slot(1)));
  EXPECT_EQ(ReadBytes(folder / "victim"), "untouched");
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "circuits.dat~tmp"));
}

TEST_F(SchemeFileTest, ALinkedSchemeFileStaysALink) {
  std::filesystem::create_directory(folder / "kept");
  WriteBytes(folder / "kept" / "circuits.dat", KoiScheme("old"));
  std::error_code no_links;
  std::filesystem::create_symlink(folder / "kept" / "circuits.dat", path, no_links);
  if (no_links) GTEST_SKIP() << "no symbolic links here: " << no_links.message();
  SchemeTable table;
  table.AddScheme("new");
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadBytes(folder / "kept" / "circuits.dat"), FormatSchemeLines(table.Slot(1)));
}

TEST_F(SchemeFileTest, SaveThatCannotRenameLeavesOldAndNoTemporaryFile) {
  // A non-empty folder in the file's place cannot be replaced by a file.
  std::filesystem::create_directories(path / "inside");
  SchemeTable table;
  table.AddScheme("new");
  EXPECT_FALSE(SaveSchemes(table, path, sink));
  EXPECT_EQ(sink.messages, (std::vector{Plain(kWriteFailed)}));
  EXPECT_TRUE(std::filesystem::is_directory(path / "inside"));
  EXPECT_EQ(TemporaryFilesIn(folder.path()), 0);
}

TEST_F(SchemeFileTest, SaveOntoAFullDeviceFailsWithMessage) {
  // /dev/full accepts the open and refuses every byte.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", path);
  SchemeTable table;
  table.AddScheme("new");
  EXPECT_FALSE(SaveSchemes(table, path, sink));
  EXPECT_EQ(sink.messages, (std::vector{Plain(kWriteFailed)}));
}

TEST(SchemeFilePathTest, SitsBesideTheExecutable) {
  const std::filesystem::path path = SchemeFilePath();
  EXPECT_EQ(path.filename(), "circuits.dat");
#ifdef _WIN32
  // The C runtime's own record of the program file.
  ASSERT_NE(_pgmptr, nullptr);
  EXPECT_EQ(path.parent_path(), std::filesystem::path(_pgmptr).parent_path());
#else
  EXPECT_EQ(path.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
#endif
}

}  // namespace
}  // namespace lirvane

namespace lirvane {
namespace {

// A rule into UTF-8 is stored like any other, with the code 65001 and the
// caption "UTF-8", and applied as a step into Windows-1251 and one out.
TEST(Utf8SchemeTest, KoiToUtf8RuleIsStoredAndApplied) {
  testing::TempFolder folder;
  const auto path = folder / "circuits.dat";
  testing::RecordingSink sink;
  SchemeTable table;
  TCustomCode& work = table.WorkRecord();
  work.Count = 1;
  work.From1 = 8;
  work.FromName1 = "KOI-8-R";
  work.To1 = 65001;
  work.ToName1 = "UTF-8";
  table.AddScheme("\xCA\xEE\xE8 \xE2 UTF-8");  // "Кои в UTF-8"
  ASSERT_TRUE(SaveSchemes(table, path, sink));
  std::string expected = "\xCA\xEE\xE8 \xE2 UTF-8\r\n1\r\n8\r\nKOI-8-R\r\n65001\r\nUTF-8\r\n";
  for (int k = 2; k <= 5; ++k) expected += "0\r\n\r\n0\r\n\r\n";
  EXPECT_EQ(testing::ReadBytes(path), expected);

  SchemeTable loaded;
  LoadSchemes(loaded, path, sink);
  ASSERT_EQ(loaded.Count(), 1);
  const TCustomCode& scheme = loaded.Slot(1);
  EXPECT_EQ(scheme.To1, 65001);
  EXPECT_EQ(scheme.ToName1, "UTF-8");
  // KOI8-R "Привет, мир" becomes UTF-8.
  EXPECT_EQ(ApplyScheme(scheme, "\xF0\xD2\xC9\xD7\xC5\xD4, \xCD\xC9\xD2"), "Привет, мир");
  EXPECT_TRUE(sink.messages.empty());
}

TEST(Utf8SchemeTest, Utf8IntoAltAndChainsOfLengthChangingRules) {
  TCustomCode scheme = NewSchemeRecord("x");
  scheme.Count = 2;
  scheme.From1 = 65001;  // UTF-8 -> Alt-866
  scheme.To1 = 866;
  scheme.From2 = 866;  // Alt-866 -> UTF-8
  scheme.To2 = 65001;
  EXPECT_EQ(ApplyScheme(scheme, "\xEF\xBB\xBFЁж и ёж"), "Ёж и ёж");
  scheme.Count = 1;
  EXPECT_EQ(ApplyScheme(scheme, "Ёж"), "\xF0\xA6");
}

}  // namespace
}  // namespace lirvane
