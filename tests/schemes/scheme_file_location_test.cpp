// Where the scheme file lives, decided on real folders: a copy in a folder
// it may write keeps the file beside it, an installed copy or one in a
// folder it cannot write keeps it below $XDG_DATA_HOME and starts from the
// starter file. Writability is given to the rule rather than tried, as the
// superuser running the tests may write anywhere.
#include "schemes/scheme_file_location.h"
#include "base/home_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "schemes/scheme_file.h"
#include "tests/schemes/test_support.h"

namespace lirvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// One scheme of one KOI-8-R to Alt-866 rule, as the scheme file holds it.
std::string OneScheme(const std::string& name) {
  std::string lines = name + "\r\n1\r\n8\r\nKOI-8-R\r\n866\r\nAlt-866\r\n";
  for (int i = 0; i < 4; ++i) lines += "0\r\n\r\n0\r\n\r\n";
  return lines;
}

class RecordingSink final : public MessageSink {
 public:
  void Show(MessageKind, std::string_view text) override { messages.emplace_back(text); }
  std::vector<std::string> messages;
};

class SchemeFileLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Bin());
    fs::create_directories(folder / "data");
  }
  fs::path Bin() const { return folder / "prefix" / "bin"; }
  fs::path Beside() const { return Bin() / "circuits.dat"; }
  fs::path Starter() const {
    return folder / "prefix" / "share" / "lirvane" / "starter" / "circuits.dat";
  }
  fs::path Users() const { return folder / "data" / "lirvane" / "circuits.dat"; }
  SchemeFilePlaces Places() const { return {Bin(), Starter(), folder / "data"}; }
  void Install() {
    fs::create_directories(Starter().parent_path());
    WriteBytes(Starter(), OneScheme("starter"));
  }

  TempFolder folder;
  RecordingSink sink;
};

TEST_F(SchemeFileLocationTest, WritableFolderKeepsTheFileBesideTheExecutable) {
  const SchemeFileLocation location = ChooseSchemeFileLocation(Places(), true);
  EXPECT_EQ(location.file, Beside());
  EXPECT_FALSE(location.in_data_home);
  // Not installed: no starter, and a missing file reads as missing.
  EXPECT_EQ(location.FileToRead(), Beside());
  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, location.FileToRead(), sink), SchemeLoadResult::kNotFound);
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Файл схем не найден!"}));
}

TEST_F(SchemeFileLocationTest, ReadOnlyFolderKeepsTheSchemesBelowTheDataHome) {
  const SchemeFileLocation location = ChooseSchemeFileLocation(Places(), false);
  EXPECT_EQ(location.file, Users());
  EXPECT_TRUE(location.in_data_home);
  EXPECT_EQ(location.FileToRead(), Users());

  // The first exit makes the folder and writes the file there, atomically.
  SchemeTable table;
  table.AddScheme("mine");
  EXPECT_TRUE(SaveSchemes(table, location, sink));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(fs::directory_iterator(Users().parent_path())->path(), Users());
  EXPECT_FALSE(fs::exists(Beside()));
}

TEST_F(SchemeFileLocationTest, ExistingFileInAReadOnlyFolderStaysInUse) {
  WriteBytes(Beside(), OneScheme("portable"));
  Install();  // even an installed copy uses a file it carries
  for (bool writable : {false, true}) {
    const SchemeFileLocation location = ChooseSchemeFileLocation(Places(), writable);
    EXPECT_EQ(location.file, Beside()) << writable;
    EXPECT_EQ(location.FileToRead(), Beside()) << writable;
  }
}

TEST_F(SchemeFileLocationTest, InstalledCopyStartsFromTheStarterFileUntilTheFirstExit) {
  Install();
  // Writable or not (the superuser can write into bin): never beside an
  // installed program.
  for (bool writable : {true, false}) {
    const SchemeFileLocation location = ChooseSchemeFileLocation(Places(), writable);
    EXPECT_EQ(location.file, Users()) << writable;
    EXPECT_EQ(location.starter, Starter()) << writable;
  }
  const SchemeFileLocation location = ChooseSchemeFileLocation(Places(), true);
  ASSERT_EQ(location.FileToRead(), Starter());

  SchemeTable table;
  EXPECT_EQ(LoadSchemes(table, location.FileToRead(), sink), SchemeLoadResult::kLoaded);
  EXPECT_TRUE(sink.messages.empty());  // no "not found"
  ASSERT_EQ(table.Count(), 1);
  table.AddScheme("mine");
  EXPECT_TRUE(SaveSchemes(table, location, sink));
  EXPECT_EQ(ReadBytes(Users()), OneScheme("starter") + FormatSchemeLines(table.Slot(2)));
  EXPECT_EQ(ReadBytes(Starter()), OneScheme("starter"));

  // From now on the user's own file is read.
  EXPECT_EQ(location.FileToRead(), Users());
  SchemeTable next;
  EXPECT_EQ(LoadSchemes(next, location.FileToRead(), sink), SchemeLoadResult::kLoaded);
  EXPECT_EQ(next.Count(), 2);
  EXPECT_EQ(next.Slot(2).Name, "mine");
}

TEST_F(SchemeFileLocationTest, CopyInstalledIntoTheDataHomesPrefixKeepsTheTwoFilesApart) {
  // cmake --install --prefix ~/.local: the starter lies below the data home.
  Install();
  const SchemeFileLocation location =
      ChooseSchemeFileLocation({Bin(), Starter(), folder / "prefix" / "share"}, false);
  EXPECT_EQ(location.file, folder / "prefix" / "share" / "lirvane" / "circuits.dat");
  EXPECT_NE(location.file, location.starter);
  SchemeTable table;
  table.AddScheme("mine");
  EXPECT_TRUE(SaveSchemes(table, location, sink));
  EXPECT_EQ(ReadBytes(Starter()), OneScheme("starter"));  // a reinstall finds it as shipped
}

TEST_F(SchemeFileLocationTest, UnmakeableUserFolderFailsTheSaveWithItsMessage) {
  WriteBytes(folder / "data" / "lirvane", "a file where the folder belongs");
  const SchemeFileLocation location = ChooseSchemeFileLocation(Places(), false);
  SchemeTable table;
  EXPECT_FALSE(SaveSchemes(table, location, sink));
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Ошибка записи в файл схем!"}));
}

class DataHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"XDG_DATA_HOME", "HOME"})
      if (const char* value = std::getenv(name)) saved.emplace_back(name, value);
  }
  void TearDown() override {
    unsetenv("XDG_DATA_HOME");
    for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::string>> saved;
};

TEST_F(DataHomeTest, XdgDataHomeWhenAbsoluteElseBelowHome) {
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_DATA_HOME", "/var/data/", 1);
  EXPECT_EQ(DataHomeFolder(), fs::path("/var/data/"));
  for (const char* unusable : {"", "relative/data"}) {
    setenv("XDG_DATA_HOME", unusable, 1);
    EXPECT_EQ(DataHomeFolder(), fs::path("/home/someone/.local/share")) << unusable;
  }
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DataHomeFolder(), fs::path("/home/someone/.local/share"));
  // An unset XDG_DATA_HOME puts a read-only copy's schemes there.
  const SchemeFileLocation location = ChooseSchemeFileLocation(
      {"/nonexistent/bin", "/nonexistent/share/lirvane/starter/circuits.dat", DataHomeFolder()},
      false);
  EXPECT_EQ(location.file, fs::path("/home/someone/.local/share/lirvane/circuits.dat"));
}

TEST(RunningSchemeFilePlacesTest, StarterAndHelpAreLookedForBesideTheBinFolder) {
  const fs::path exe = fs::read_symlink("/proc/self/exe");
  const SchemeFilePlaces places = RunningSchemeFilePlaces();
  EXPECT_EQ(places.executable_folder, exe.parent_path());
  EXPECT_EQ(places.starter_file,
            exe.parent_path().parent_path() / "share" / "lirvane" / "starter" / "circuits.dat");
}

}  // namespace
}  // namespace lirvane
