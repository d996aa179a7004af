// The replacing of a file that conversions (and --fix) rely on, through its
// own interface: the ways it chooses and what a failed rename leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/file_replace.h"
#include "tests/schemes/test_support.h"
#include "tests/support/temporary_files.h"

namespace lirvane {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::TemporaryFilesOf;
using testing::WriteBytes;

TEST(FileReplacementTest, NewFileAndReplacedFile) {
  TempFolder folder;
  const std::filesystem::path target = folder / "out.txt";
  {
    FileReplacement file;
    ASSERT_FALSE(file.Open(target));
    EXPECT_EQ(file.way(), FileReplacement::Way::kNewFile);
    ASSERT_FALSE(file.Write("new"));
    EXPECT_FALSE(std::filesystem::exists(target));  // not before the commit
    ASSERT_FALSE(file.Commit());
  }
  EXPECT_EQ(ReadBytes(target), "new");
  {
    FileReplacement file;
    ASSERT_FALSE(file.Open(target));
    EXPECT_EQ(file.way(), FileReplacement::Way::kReplace);
    ASSERT_FALSE(file.Write("half"));
    // Given up before the commit: the old text stays, no temporary file.
  }
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_TRUE(TemporaryFilesOf(target).empty());
  EXPECT_FALSE(ReplaceFileWith(target, "replaced"));
  EXPECT_EQ(ReadBytes(target), "replaced");
}

#ifndef _WIN32
// A name with more than one link is written in place: every name shows
// the new text, as after the shell's `>`.
TEST(FileReplacementTest, HardLinkedFileIsWrittenInPlace) {
  TempFolder folder;
  WriteBytes(folder / "a.txt", "a longer old text");
  std::filesystem::create_hard_link(folder / "a.txt", folder / "b.txt");
  FileReplacement file;
  ASSERT_FALSE(file.Open(folder / "a.txt"));
  EXPECT_EQ(file.way(), FileReplacement::Way::kInPlace);
  ASSERT_FALSE(file.Write("short"));
  EXPECT_EQ(ReadBytes(folder / "b.txt"), "a longer old text");  // not yet
  ASSERT_FALSE(file.Commit());
  EXPECT_EQ(ReadBytes(folder / "b.txt"), "short");
  EXPECT_EQ(std::filesystem::hard_link_count(folder / "a.txt"), 2u);
  EXPECT_TRUE(TemporaryFilesOf(folder / "a.txt").empty());
}

// A folder put in the target's place after the text was made: the rename
// fails, and the complete text stays in the temporary file.
TEST(FileReplacementTest, FailedRenameKeepsTheText) {
  TempFolder folder;
  const std::filesystem::path target = folder / "out.txt";
  FileReplacement file;
  ASSERT_FALSE(file.Open(target));
  ASSERT_FALSE(file.Write("text"));
  std::filesystem::create_directories(target / "busy");
  EXPECT_TRUE(file.Commit());
  EXPECT_TRUE(file.RenameFailed());
  const auto temporary = TemporaryFilesOf(target);
  ASSERT_EQ(temporary.size(), 1u);
  EXPECT_EQ(file.WrittenName(), temporary[0].string());
  EXPECT_EQ(file.TargetName(), target.string());
  EXPECT_EQ(ReadBytes(temporary[0]), "text");
}

TEST(FileReplacementTest, RefusalsAndFailuresAreTold) {
  TempFolder folder;
  std::filesystem::create_symlink("b", folder / "a");
  std::filesystem::create_symlink("a", folder / "b");
  FileReplacement loop;
  EXPECT_EQ(loop.Open(folder / "a"), std::errc::too_many_symbolic_link_levels);
  FileReplacement directory;
  EXPECT_EQ(directory.Open(folder.path()), std::errc::is_a_directory);
  if (::geteuid() != 0) return;
  // Another user's file in a shared sticky folder.
  std::filesystem::create_directory(folder / "shared");
  ASSERT_EQ(::chmod((folder / "shared").c_str(), 01777), 0);
  WriteBytes(folder / "shared" / "f", "hers");
  ASSERT_EQ(::chown((folder / "shared" / "f").c_str(), 65534, 65534), 0);
  FileReplacement foreign;
  const std::error_code error = foreign.Open(folder / "shared" / "f");
  EXPECT_EQ(error, ReplaceRefusal::kForeignFile);
  EXPECT_EQ(error.category(), ReplaceRefusalCategory());
  EXPECT_TRUE(TemporaryFilesOf(folder / "shared" / "f").empty());
}
#endif

}  // namespace
}  // namespace lirvane
