// The settings store, the scheme file and the desktop entries keep to one
// home folder, whatever HOME says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/home_folder.h"
#include "platform/freedesktop/xdg_folders.h"
#include "platform/store/sqlite_store_backend.h"
#include "schemes/scheme_file_location.h"
#include "tests/support/scoped_environment.h"

namespace fs = std::filesystem;
using namespace lirvane;

namespace {

class HomeFoldersAgree : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
      environment_.Set(name, nullptr);
    if (GetParam()) environment_.Set("HOME", GetParam());
  }
  lirvane::testing::ScopedEnvironment environment_;
};

TEST_P(HomeFoldersAgree, SettingsSchemesAndDesktopEntriesShareTheHome) {
  const fs::path home = HomeFolder();
  ASSERT_TRUE(home.is_absolute());
  EXPECT_EQ(SqliteStoreBackend::DefaultDatabaseFile(),
            home / ".config" / "lirvane" / "settings.sqlite");
  const XdgFolders xdg = XdgFolders::FromEnvironment();
  EXPECT_EQ(fs::path(xdg.data_home.toStdString()), home / ".local" / "share");
  EXPECT_EQ(fs::path(xdg.config_home.toStdString()), home / ".config");
  const SchemeFileLocation schemes = ChooseSchemeFileLocation(
      {"/nonexistent/bin", {}, RunningSchemeFilePlaces().data_home}, false);
  EXPECT_EQ(schemes.file, home / ".local" / "share" / "lirvane" / "circuits.dat");
}

INSTANTIATE_TEST_SUITE_P(Home, HomeFoldersAgree,
                         ::testing::Values(nullptr, "", "relative/home", "/tmp/lirvane-home"),
                         [](const auto& info) {
                           return std::string(info.index == 0   ? "Unset"
                                              : info.index == 1 ? "Empty"
                                              : info.index == 2 ? "Relative"
                                                                : "Absolute");
                         });

}  // namespace
